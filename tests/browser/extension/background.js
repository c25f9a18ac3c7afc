// Connects to olvanemac-host through its native-messaging manifest, says hello as Chrome, asks
// for the rules, pings, reports a site, and posts what came back to the test's report URL
// (config.json, written by the test beside this file).
const received = [];
let reported = false;

async function report(body) {
  const config = await (await fetch(chrome.runtime.getURL('config.json'))).json();
  await fetch(config.reportUrl, {method: 'POST', body: JSON.stringify(body)});
}

const port = chrome.runtime.connectNative('com.olvanemac.host');
port.onMessage.addListener((message) => {
  received.push(message);
  const heard = (type) => received.some((m) => m.type === type);
  if (!reported && heard('RULES') && heard('PONG')) {
    reported = true;
    report({received});
  }
});
port.onDisconnect.addListener(() => {
  const error = chrome.runtime.lastError ? chrome.runtime.lastError.message : 'closed';
  report({disconnected: error, received});
});
port.postMessage({type: 'INIT', browser: 'chrome'});
port.postMessage({type: 'GET_RULES'});
port.postMessage({type: 'PING'});
port.postMessage({type: 'SITE_CONTEXT', browser: 'chrome', domain: 'youtube.com'});
