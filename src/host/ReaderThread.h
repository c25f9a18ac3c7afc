#pragma once

#include <functional>
#include <string>

#include "host/FrameReader.h"
#include "platform/Json.h"
#include "platform/RunLoop.h"

namespace olvane::host {

using MessageHandler = std::function<void(const std::string& type, const Json& message)>;
// Answers a message that needs nothing of the loop, from the reader's thread; false for the
// others.
using AnswerAtOnce = std::function<bool(const std::string& type)>;

// Starts the thread that blocks on the input and hands each message to the loop, in arrival
// order, without waiting for it to be handled. A message `answerAtOnce` takes while nothing
// waits on the loop is answered there instead: the replies keep their order and the main thread
// sleeps on. At the first frame that cannot be read it hands `onEnd` to the loop, after the
// messages already handed over: they are all carried out before the end.
void startReaderThread(platform::RunLoop& loop, FrameReader reader, MessageHandler onMessage,
                       AnswerAtOnce answerAtOnce, std::function<void()> onEnd);

}  // namespace olvane::host
