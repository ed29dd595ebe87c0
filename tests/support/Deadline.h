#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>

namespace testing_support {

// Runs work on a thread of its own and waits for it at most limit: a loop that never ends then
// fails its test at once, with the test's own message, instead of stalling the suite until the
// runner's limit. Nothing when work did not end in time; the thread is then left to the end of
// the process, with its own copy of everything it uses.
template <typename Result>
std::optional<Result> ResultWithin(std::chrono::milliseconds limit, std::function<Result()> work) {
    auto promise = std::make_shared<std::promise<Result>>();
    std::future<Result> result = promise->get_future();
    std::thread([promise, work = std::move(work)] {
        try {
            promise->set_value(work());
        } catch (...) {
            promise->set_exception(std::current_exception());
        }
    }).detach();
    if (result.wait_for(limit) != std::future_status::ready) {
        return std::nullopt;
    }
    return result.get();
}

}  // namespace testing_support
