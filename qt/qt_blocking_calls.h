#pragma once

// How an operation's thread reaches the windows. Every Qt realisation the
// logic calls does its Qt work on the windows' thread: called from another
// thread, it hops there with one blocking queued call and waits for it.
// The windows' thread never waits for an operation, so a hop waits only
// for the call itself (a modal dialog runs there as usual). A question
// that an operation the operator cancelled would ask is not shown: it
// answers as the operator's Cancel would, so the operation ends without a
// message.

#include <QCoreApplication>
#include <functional>
#include <thread>
#include <utility>

#include "platform/connection_watch.h"
#include "qt/qt_window.h"

namespace vantic {

// Whether the calling thread is the windows' thread.
[[nodiscard]] bool OnUiThreadNow();

template <class Call>
auto OnUiThread(Call&& call) -> decltype(call()) {
    return RunOnThreadOf(QCoreApplication::instance(), std::forward<Call>(call));
}

template <class Call, class Answer>
auto AskOnUiThread(Answer declined, Call&& call) -> decltype(call()) {
    if (RequestsCancelled()) {
        return declined;
    }
    return OnUiThread(std::forward<Call>(call));
}

// Calls for a thread other than the windows' (a dialog's button pressed for
// the operation that owns it): they run on it at its next PumpMessages.
void PostToThread(std::thread::id thread, std::function<void()> call);
void RunPostedCalls();

}  // namespace vantic
