#include "host/ReaderThread.h"

#include <pthread.h>

#include <atomic>
#include <memory>

#include "host/MessageDispatcher.h"

namespace olvane::host {

namespace {

// Reading needs little stack: the parser keeps its own. A small one keeps start-up cheap.
constexpr std::size_t kReaderStackBytes = 512 * 1024;

struct ReaderWork {
    platform::RunLoop& loop;
    FrameReader reader;
    std::shared_ptr<const MessageHandler> handler;
    AnswerAtOnce answerAtOnce;
    std::function<void()> onEnd;
    // Messages posted to the loop and not yet handled (their replies not yet written).
    std::shared_ptr<std::atomic<int>> waiting = std::make_shared<std::atomic<int>>(0);

    void run() {
        while (auto message = reader.readMessage()) {
            auto type = MessageDispatcher::typeOf(*message);
            if (waiting->load() == 0 && answerAtOnce(type)) {
                continue;
            }
            waiting->fetch_add(1);
            loop.postFromAnyThread([handler = handler, waiting = waiting, type = std::move(type),
                                    message = std::move(*message)] {
                (*handler)(type, message);
                waiting->fetch_sub(1);
            });
        }
        // Behind every message handed over, so each is carried out before the host ends.
        loop.postFromAnyThread(std::move(onEnd));
    }
};

void* runReader(void* work) {
    const std::unique_ptr<ReaderWork> owned(static_cast<ReaderWork*>(work));
    owned->run();
    return nullptr;
}

}  // namespace

void startReaderThread(platform::RunLoop& loop, FrameReader reader, MessageHandler onMessage,
                       AnswerAtOnce answerAtOnce, std::function<void()> onEnd) {
    // Posted work shares the handler, so it stays valid however long the loop takes.
    auto work = std::make_unique<ReaderWork>(ReaderWork{
        loop, std::move(reader), std::make_shared<const MessageHandler>(std::move(onMessage)),
        std::move(answerAtOnce), std::move(onEnd)});
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kReaderStackBytes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    if (pthread_create(&thread, &attributes, runReader, work.get()) == 0) {
        work.release();
    } else {
        // Without a reader nothing can arrive: end as at the end of input.
        work->onEnd();
    }
    pthread_attr_destroy(&attributes);
}

}  // namespace olvane::host
