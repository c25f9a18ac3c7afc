// OlvaneMac's companion inside KWin (Plasma 5.27 and 6): it tells OlvaneMac, and OlvaneMac alone,
// about every window, closes or activates one when asked, keeps a fog of OlvaneMac's right above
// its target (KWin 6) and says where the pointer is while asked. OlvaneMac writes its unique name
// in and loads it. A script cannot tell that it is unloaded, nor learn that a bus name left: once
// OlvaneMac stops answering, the script drops everything it holds.
(function () {
    'use strict';

    const OWNER = '@OLVANE_OWNER@';
    const PATH = '/so/olvane/mac/Companion';
    const IFACE = 'so.olvane.mac.Companion1';
    // OlvaneMac answers Requests within 15 s; KWin drops a call unanswered after 25 s, silently.
    const SILENCE_MS = 20000;
    const WATCHDOG_MS = 2000;
    // Reports go at most once a frame; a slow safety poll catches a change no signal told.
    const FRAME_MS = 16;
    const SAFETY_POLL_MS = 10000;
    const KWIN6 = typeof workspace.windowList === 'function';
    // KWin 5 lets a script raise the active window only; 6.5 keeps one window above another.
    const CAN_RESTACK = KWIN6 && typeof workspace.raiseWindow === 'function' &&
        typeof Object(workspace.stackingOrder).filter === 'function';
    const CAN_CONSTRAIN = CAN_RESTACK && typeof workspace.constrain === 'function' &&
        typeof workspace.unconstrain === 'function';
    // A stacking KWin keeps undoing is acted on this many times only.
    const MAX_RESTACKS = 3;

    // By NET::WindowType, from NET::Normal (0).
    const TYPES = ['NORMAL', 'DESKTOP', 'DOCK', 'TOOLBAR', 'MENU', 'DIALOG', 'NORMAL', 'DOCK',
        'UTILITY', 'SPLASH', 'DROPDOWN_MENU', 'POPUP_MENU', 'TOOLTIP', 'NOTIFICATION', 'COMBO',
        'DND', 'NOTIFICATION', 'NOTIFICATION', 'POPUP_MENU'];

    // An error in the companion is logged; it never reaches KWin, which would unload the script.
    function guard(what, fn) {
        return function () {
            try {
                return fn.apply(null, arguments);
            } catch (e) {
                print('OlvaneMac: ' + what + ': ' + e + (e && e.stack ? '\n' + e.stack : ''));
                return undefined;
            }
        };
    }

    let running = true;
    let waitingSince = 0;
    let lastReport = '';
    let pointerOn = false;
    const connections = [];
    const windowConnections = new Map();
    const timers = [];

    function listen(list, object, name, handler) {
        const signal = object[name];
        if (signal && typeof signal.connect === 'function') {
            signal.connect(handler);
            list.push([signal, handler]);
        }
    }

    function forget(list) {
        for (const [signal, handler] of list) {
            try {
                signal.disconnect(handler);
            } catch (e) {
                // Gone with its window.
            }
        }
        list.length = 0;
    }

    function timer(interval, singleShot, what, fn) {
        const t = new QTimer();
        t.interval = interval;
        t.singleShot = singleShot;
        listen(connections, t, 'timeout', guard(what, fn));
        timers.push(t);
        return t;
    }

    const reportTimer = timer(FRAME_MS, true, 'report', report);
    const pointerTimer = timer(FRAME_MS, true, 'pointer', tellPointer);
    const x11SearchTimer = timer(FRAME_MS, true, 'x11', searchX11IdsOnce);
    const safetyTimer = timer(SAFETY_POLL_MS, false, 'poll', reportSoon);
    const stackTimer = timer(0, true, 'stack', keepFogsInPlace);
    const watchdog = timer(WATCHDOG_MS, false, 'watchdog', () => {
        if (waitingSince && Date.now() - waitingSince > SILENCE_MS) {
            stop('no answer for ' + SILENCE_MS / 1000 + ' s, stopped');
        }
    });

    function allWindows() {
        return KWIN6 ? workspace.windowList() : workspace.clientList();
    }

    function activeWindow() {
        return KWIN6 ? workspace.activeWindow : workspace.activeClient;
    }

    function windowWithId(id) {
        return allWindows().find(w => String(w.internalId) === id) || null;
    }

    // KWin 5 tells an X11 window's id; KWin 6 only names its class (X11Window).
    function isX11(w) {
        return (typeof w.windowId === 'number' && w.windowId > 0) ||
            String(w).indexOf('X11Window') !== -1;
    }

    function isTopLevel(w) {
        return w && !w.deleted && w.managed !== false && !w.outline &&
            !(w.popupWindow && !isX11(w));
    }

    // Front to back.
    function stackedWindows() {
        const bottomUp = KWIN6 ? workspace.stackingOrder.slice()
            : workspace.clientList().slice().sort((a, b) => a.stackingOrder - b.stackingOrder);
        return bottomUp.filter(isTopLevel).reverse();
    }

    // KWin 6 keeps an X11 window's id to itself, yet workspace.getClient(id) finds the window of
    // an id. So ids are tried, a slice a frame, in the order X clients hand them out: each client
    // counts up from its own base, 2^21 apart under Xwayland's 256 clients; a new window most
    // often follows the last one its program made.
    const X11_CLIENT_BITS = 21;
    const X11_CLIENTS = 256;
    const X11_SEARCH_SPAN = 0x4000;
    const X11_SEARCH_BAND = 256;
    const X11_TRIES_PER_FRAME = 1000;
    const x11Ids = new Map();
    let x11Search = null;

    function x11Id(w) {
        if (typeof w.windowId === 'number' && w.windowId > 0) {
            return w.windowId;
        }
        return x11Ids.get(String(w.internalId)) || 0;
    }

    // The ids to try: after each id a sibling of the same program has, then band after band of
    // every client's first ids.
    function* x11Candidates(wanted) {
        const pids = new Set(wanted.map(w => w.pid));
        for (const w of allWindows()) {
            const id = x11Id(w);
            if (id && pids.has(w.pid)) {
                const nextClient = ((id >>> X11_CLIENT_BITS) + 1) << X11_CLIENT_BITS;
                const end = Math.min(id + X11_SEARCH_SPAN, nextClient);
                for (let candidate = id + 1; candidate < end; candidate++) {
                    yield candidate;
                }
            }
        }
        const clients = Math.min(X11_CLIENTS, 32 + allWindows().filter(isX11).length);
        for (let band = 0; band < X11_SEARCH_SPAN; band += X11_SEARCH_BAND) {
            for (let client = 1; client < clients; client++) {
                const base = client * (1 << X11_CLIENT_BITS) + band;
                for (let offset = 0; offset < X11_SEARCH_BAND; offset++) {
                    yield base + offset;
                }
            }
        }
    }

    function searchX11Ids() {
        if (typeof workspace.getClient !== 'function') {
            return;
        }
        const wanted = allWindows().filter(w => isTopLevel(w) && isX11(w) && !x11Id(w));
        if (wanted.length === 0) {
            return;
        }
        x11Search = {wanted: new Set(wanted), candidates: x11Candidates(wanted)};
        x11SearchTimer.start();
    }

    function searchX11IdsOnce() {
        if (!x11Search) {
            return;
        }
        for (let tries = 0; tries < X11_TRIES_PER_FRAME; tries++) {
            const next = x11Search.candidates.next();
            if (next.done) {
                x11Search = null;
                return;
            }
            const w = workspace.getClient(next.value);
            if (w && x11Search.wanted.has(w)) {
                x11Ids.set(String(w.internalId), next.value);
                x11Search.wanted.delete(w);
                reportSoon();
                if (x11Search.wanted.size === 0) {
                    x11Search = null;
                    return;
                }
            }
        }
        x11SearchTimer.start();
    }

    // KWin 5 tells no client area of an X11 window: its frame, less the borders of its
    // decoration, which each of its moves tells (the client area it had, beside the frame it
    // had), as does a native window under the same decoration.
    const lastFrames = new Map();
    const ownBorders = new Map();
    let decorationBorders = null;

    function rect(r) {
        return {x: r.x, y: r.y, width: r.width, height: r.height};
    }

    function bordersBetween(frame, client) {
        const borders = {
            left: client.x - frame.x,
            top: client.y - frame.y,
            right: frame.x + frame.width - client.x - client.width,
            bottom: frame.y + frame.height - client.y - client.height,
        };
        const sizes = [borders.left, borders.top, borders.right, borders.bottom];
        return sizes.every(size => size >= 0 && size < 200) ? borders : null;
    }

    function within(frame, borders) {
        return {
            x: frame.x + borders.left,
            y: frame.y + borders.top,
            width: Math.max(0, frame.width - borders.left - borders.right),
            height: Math.max(0, frame.height - borders.top - borders.bottom),
        };
    }

    function intersection(a, b) {
        const x = Math.max(a.x, b.x);
        const y = Math.max(a.y, b.y);
        const right = Math.min(a.x + a.width, b.x + b.width);
        const bottom = Math.min(a.y + a.height, b.y + b.height);
        return {x, y, width: Math.max(0, right - x), height: Math.max(0, bottom - y)};
    }

    function clientMovedFrom(w, oldClient) {
        const frame = lastFrames.get(w);
        const borders = frame && oldClient ? bordersBetween(frame, oldClient) : null;
        if (borders) {
            ownBorders.set(w, borders);
        }
    }

    // The client area, without server decorations nor a client's shadow.
    function clientArea(w) {
        if (w.clientGeometry) {
            return rect(w.clientGeometry);
        }
        const frame = rect(w.frameGeometry);
        if (!isX11(w)) {
            // A server frame holds the surface; a client's shadow lies outside its frame.
            const buffer = rect(w.bufferGeometry);
            const borders = bordersBetween(frame, buffer);
            const framed = borders && borders.left + borders.top + borders.right + borders.bottom;
            if (framed > 0 && !w.noBorder) {
                decorationBorders = borders;
            }
            return intersection(frame, buffer);
        }
        const decorated = !w.noBorder && !w.clientSideDecorated && !w.fullScreen;
        const borders = ownBorders.get(w) || (decorated ? decorationBorders : null);
        return borders ? within(frame, borders) : frame;
    }

    function onCurrentDesktop(w) {
        if (w.onAllDesktops) {
            return true;
        }
        if (!KWIN6) {
            return w.desktop === workspace.currentDesktop || w.desktop === -1;
        }
        const current = workspace.currentDesktop;
        return (w.desktops || []).some(d => d === current || (d && current && d.id === current.id));
    }

    function onCurrentActivity(w) {
        const activities = w.activities;
        return !activities || activities.length === 0 ||
            activities.indexOf(workspace.currentActivity) !== -1;
    }

    function text(value) {
        if (typeof value === 'string') {
            return value;
        }
        return value === undefined || value === null ? '' : String(value);
    }

    function describe(w) {
        const area = clientArea(w);
        return {
            id: String(w.internalId),
            x11: x11Id(w),
            pid: Number.isSafeInteger(w.pid) && w.pid > 0 ? w.pid : 0,
            desktop: text(w.desktopFileName).replace(/\.desktop$/, ''),
            name: '',
            gtk: '',
            class: text(w.resourceClass),
            instance: text(w.resourceName),
            type: TYPES[w.windowType] || 'NORMAL',
            above: !!w.keepAbove,
            client: [area.x, area.y, area.width, area.height],
            frame: (f => [f.x, f.y, f.width, f.height])(rect(w.frameGeometry)),
            shown: !w.minimized && !w.hidden && onCurrentDesktop(w) && onCurrentActivity(w),
        };
    }

    function report() {
        if (!running) {
            return;
        }
        const focus = activeWindow();
        const message = JSON.stringify({
            focus: focus ? String(focus.internalId) : null,
            windows: stackedWindows().map(describe),
        });
        if (message !== lastReport) {
            lastReport = message;
            callDBus(OWNER, PATH, IFACE, 'Report', message);
        }
    }

    function reportSoon() {
        if (running && !reportTimer.active) {
            reportTimer.start();
        }
    }

    function followWindow(w) {
        if (!w || windowConnections.has(w)) {
            return;
        }
        const list = [];
        const changed = guard('window', reportSoon);
        for (const name of ['minimizedChanged', 'stackingOrderChanged', 'keepAboveChanged',
            'hiddenChanged', 'activitiesChanged', 'desktopChanged', 'desktopsChanged',
            'windowClassChanged', 'desktopFileNameChanged', 'fullScreenChanged',
            'bufferGeometryChanged', 'clientGeometryChanged']) {
            listen(list, w, name, changed);
        }
        lastFrames.set(w, rect(w.frameGeometry));
        listen(list, w, 'frameGeometryChanged', guard('window', () => {
            lastFrames.set(w, rect(w.frameGeometry));
            reportSoon();
        }));
        // KWin 5 tells the client area a window had (the last argument), before its frame changes.
        if (!KWIN6) {
            listen(list, w, 'clientGeometryChanged', guard('window', function () {
                clientMovedFrom(w, arguments[arguments.length - 1]);
            }));
        }
        const restack = guard('stack', stackSoon);
        for (const name of ['stackingOrderChanged', 'minimizedChanged', 'layerChanged',
            'keepAboveChanged', 'fullScreenChanged', 'transientChanged']) {
            listen(list, w, name, restack);
        }
        windowConnections.set(w, list);
        if (KWIN6 && isX11(w) && !x11Id(w)) {
            searchX11Ids();
        }
    }

    function forgetWindow(w) {
        forgetFogsOf(w);
        forget(windowConnections.get(w) || []);
        windowConnections.delete(w);
        lastFrames.delete(w);
        ownBorders.delete(w);
        x11Ids.delete(String(w.internalId));
        if (x11Search) {
            x11Search.wanted.delete(w);
        }
    }

    function startReporting() {
        const changed = guard('workspace', reportSoon);
        const added = guard('window', w => {
            followWindow(w);
            reportSoon();
        });
        const removed = guard('window', w => {
            forgetWindow(w);
            reportSoon();
        });
        listen(connections, workspace, KWIN6 ? 'windowAdded' : 'clientAdded', added);
        listen(connections, workspace, KWIN6 ? 'windowRemoved' : 'clientRemoved', removed);
        for (const name of [KWIN6 ? 'windowActivated' : 'clientActivated', 'currentDesktopChanged',
            'currentActivityChanged']) {
            listen(connections, workspace, name, changed);
            listen(connections, workspace, name, guard('stack', stackSoon));
        }
        allWindows().forEach(guard('window', followWindow));
        safetyTimer.start();
        lastReport = '';
        reportSoon();
        askRequests();
    }

    function pointerMoved() {
        if (pointerOn && !pointerTimer.active) {
            pointerTimer.start();
        }
    }

    function tellPointer() {
        const at = workspace.cursorPos;
        if (running && pointerOn && at) {
            callDBus(OWNER, PATH, IFACE, 'Pointer', JSON.stringify([at.x, at.y]));
        }
    }

    const pointerConnections = [];

    function followPointer(on) {
        if (on === pointerOn) {
            return;
        }
        pointerOn = on;
        if (on) {
            listen(pointerConnections, workspace, 'cursorPosChanged',
                guard('pointer', pointerMoved));
            pointerMoved();
        } else {
            forget(pointerConnections);
            pointerTimer.stop();
        }
    }

    // Each fog of OlvaneMac's (an Xwayland window) stays right above its target and under every
    // window that comes in front of the target. KWin 6.5 keeps the fog above the target by itself;
    // before it, and for a fog that came in above windows in front of the target, the fog is
    // raised and the windows that were above the target raised again over it, after each change
    // of the stacking. Raising a window raises its transient parents first: one tied to a window
    // under the target stays under the fog, which OlvaneMac cuts there.
    const fogs = new Map();
    let restacking = false;
    const restacked = new Map();

    function stackSoon() {
        if (running && CAN_RESTACK && !restacking && fogs.size > 0 && !stackTimer.active) {
            stackTimer.start();
        }
    }

    function transientParents(w) {
        const parents = [];
        for (let p = w.transientFor; p && parents.length < 32 && parents.indexOf(p) === -1;
            p = p.transientFor) {
            parents.push(p);
        }
        return parents;
    }

    // Whether raising `w` would raise a window at or under the target too.
    function tiedUnder(w, order, targetAt) {
        return transientParents(w).some(p => {
            const at = order.indexOf(p);
            return at !== -1 && at <= targetAt;
        });
    }

    function fogsOver(target) {
        return [...fogs.values()].filter(pair => pair.target === target).map(pair => pair.fog);
    }

    // The windows that must be raised again over the fog; null when it stands right above its
    // target, or cannot.
    function windowsToRaiseOver(fog, target) {
        const order = workspace.stackingOrder.filter(w => isTopLevel(w) && !w.minimized);
        const targetAt = order.indexOf(target);
        const fogAt = order.indexOf(fog);
        if (targetAt === -1 || fogAt === -1 || fog.layer !== target.layer) {
            return null;
        }
        const sameFog = fogsOver(target);
        const above = order.slice(targetAt + 1).filter(w => w.layer === target.layer &&
            sameFog.indexOf(w) === -1 && !tiedUnder(w, order, targetAt));
        const misplaced = fogAt < targetAt || above.some(w => order.indexOf(w) < fogAt);
        return misplaced ? above : null;
    }

    function placeFog(pair) {
        const raiseOver = windowsToRaiseOver(pair.fog, pair.target);
        if (!raiseOver) {
            restacked.delete(pair.fog);
            return;
        }
        // KWin may put the fog back (a rule, a window of a layer of its own): the same order is
        // acted on a few times only, which ends any back and forth.
        const order = workspace.stackingOrder.map(w => String(w.internalId)).join();
        const last = restacked.get(pair.fog);
        const times = last && last.order === order ? last.times + 1 : 1;
        restacked.set(pair.fog, {order, times});
        if (times > MAX_RESTACKS) {
            return;
        }
        restacking = true;
        try {
            workspace.raiseWindow(pair.fog);
            raiseOver.forEach(w => workspace.raiseWindow(w));
        } finally {
            restacking = false;
        }
    }

    function keepFogsInPlace() {
        for (const pair of [...fogs.values()]) {
            if (fogs.get(pair.fog) === pair) {
                placeFog(pair);
            }
        }
    }

    function unconstrain(pair) {
        if (CAN_CONSTRAIN) {
            try {
                workspace.unconstrain(pair.target, pair.fog);
            } catch (e) {
                // Gone with its window.
            }
        }
    }

    function unstack(fog) {
        const pair = fogs.get(fog);
        if (pair) {
            fogs.delete(fog);
            restacked.delete(fog);
            unconstrain(pair);
        }
    }

    function stack(fog, target) {
        // A fog over one target at a time, and never over a fog.
        const carries = [...fogs.values()].some(pair => pair.target === fog);
        if (!isTopLevel(fog) || !isTopLevel(target) || fog === target || !isX11(fog) ||
            fogs.has(target) || carries) {
            return;
        }
        unstack(fog);
        const pair = {fog, target};
        fogs.set(fog, pair);
        if (CAN_CONSTRAIN) {
            workspace.constrain(target, fog);
        }
        stackSoon();
    }

    // A window that goes takes the fogs it carried, or its own place, with it.
    function forgetFogsOf(w) {
        for (const pair of [...fogs.values()]) {
            if (pair.fog === w || pair.target === w) {
                unstack(pair.fog);
            }
        }
    }

    function activate(w) {
        if (KWIN6) {
            workspace.activeWindow = w;
        } else {
            workspace.activeClient = w;
        }
    }

    // "fog" and "unfog" are GNOME Shell's.
    function carryOut(request) {
        if (request === null || typeof request !== 'object' || Array.isArray(request)) {
            return;
        }
        if ('close' in request) {
            const w = typeof request.close === 'string' ? windowWithId(request.close) : null;
            if (w && isTopLevel(w)) {
                w.closeWindow();
            }
        } else if ('pointer' in request) {
            if (typeof request.pointer === 'boolean') {
                followPointer(request.pointer);
            }
        } else if ('stack' in request) {
            const pair = request.stack;
            if (pair !== null && typeof pair === 'object' && typeof pair.fog === 'string' &&
                typeof pair.target === 'string') {
                stack(windowWithId(pair.fog), windowWithId(pair.target));
            }
        } else if ('unstack' in request) {
            const fog = typeof request.unstack === 'string' ? windowWithId(request.unstack) : null;
            if (fog) {
                unstack(fog);
            }
        } else if ('activate' in request) {
            const w = typeof request.activate === 'string' ? windowWithId(request.activate) : null;
            if (w && isTopLevel(w)) {
                activate(w);
            }
        }
    }

    function askRequests() {
        waitingSince = Date.now();
        callDBus(OWNER, PATH, IFACE, 'Requests', guard('requests', answer => {
            if (!running) {
                return;
            }
            waitingSince = 0;
            let requests = [];
            try {
                requests = JSON.parse(text(answer));
            } catch (e) {
                print('OlvaneMac: requests: ' + e);
            }
            if (Array.isArray(requests)) {
                requests.forEach(guard('request', carryOut));
            }
            askRequests();
        }));
    }

    // Everything OlvaneMac was given or asked for goes with it.
    function stop(why) {
        if (!running) {
            return;
        }
        running = false;
        print('OlvaneMac: ' + why);
        for (const fog of [...fogs.keys()]) {
            unstack(fog);
        }
        for (const w of [...windowConnections.keys()]) {
            forgetWindow(w);
        }
        forget(pointerConnections);
        pointerOn = false;
        for (const t of timers) {
            t.stop();
        }
        forget(connections);
        timers.length = 0;
        x11Ids.clear();
        x11Search = null;
        decorationBorders = null;
        lastReport = '';
    }

    function kwinVersion() {
        try {
            const found = /KWin version: *([0-9][^\s]*)/.exec(text(workspace.supportInformation()));
            return found ? found[1] : '';
        } catch (e) {
            return '';
        }
    }

    guard('attach', () => {
        watchdog.start();
        const about = JSON.stringify({compositor: 'kwin', version: kwinVersion(), protocol: 1});
        waitingSince = Date.now();
        callDBus(OWNER, PATH, IFACE, 'Attach', about, guard('attach', () => {
            if (running) {
                waitingSince = 0;
                startReporting();
            }
        }));
    })();
})();
