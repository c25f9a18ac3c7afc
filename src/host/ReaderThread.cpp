#include "host/ReaderThread.h"

#include <memory>
#include <thread>

#include "host/MessageDispatcher.h"

namespace olvane::host {

void startReaderThread(platform::RunLoop& loop, FrameReader reader, MessageHandler onMessage,
                       std::function<void()> onEnd) {
    // Posted work shares the handler, so it stays valid however long the loop takes.
    auto handler = std::make_shared<const MessageHandler>(std::move(onMessage));
    std::thread([&loop, reader = std::move(reader), handler, onEnd = std::move(onEnd)]() mutable {
        while (auto message = reader.readMessage()) {
            auto type = MessageDispatcher::typeOf(*message);
            loop.postFromAnyThread([handler, type = std::move(type),
                                    message = std::move(*message)] { (*handler)(type, message); });
        }
        onEnd();
    }).detach();
}

}  // namespace olvane::host
