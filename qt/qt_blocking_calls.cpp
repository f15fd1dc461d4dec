#include "qt/qt_blocking_calls.h"

#include <QThread>
#include <map>
#include <mutex>
#include <vector>

namespace vantic {

namespace {

std::mutex gPostedMutex;
std::multimap<std::thread::id, std::function<void()>> gPosted;

}  // namespace

bool OnUiThreadNow() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

void PostToThread(std::thread::id thread, std::function<void()> call) {
    std::lock_guard hold(gPostedMutex);
    gPosted.emplace(thread, std::move(call));
}

void RunPostedCalls() {
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard hold(gPostedMutex);
        auto [first, last] = gPosted.equal_range(std::this_thread::get_id());
        for (auto it = first; it != last; ++it) {
            calls.push_back(std::move(it->second));
        }
        gPosted.erase(first, last);
    }
    for (const std::function<void()>& call : calls) {
        call();
    }
}

}  // namespace vantic
