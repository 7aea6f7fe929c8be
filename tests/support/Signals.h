// SPDX-License-Identifier: MIT
#pragma once
// Checking a published event's signal against its callback: two listeners on the signal, which
// at each call of the callback have not heard of that firing yet, and afterwards have each heard
// once per call, with the callback's arguments (a notify event's callback has none but the
// sender).
#include <QSignalSpy>
#include <QVariant>
#include <gtest/gtest.h>
#include <list>
#include <type_traits>

class Events {
public:
    // The callback for `signal` of `sender` (a SIGNAL() text), expected to fire `times` times
    // (any number above 0 for -1).
    auto On(QObject* sender, const char* signal, int times) {
        Listener& l = listeners_.emplace_back(sender, signal, times);
        return [&l](QObject* from, auto&&... args) {
            EXPECT_EQ(from, l.sender) << l.signal;
            EXPECT_TRUE(l.first.count() == l.calls && l.second.count() == l.calls) << l.signal;
            ++l.calls;
            l.args = {QVariant::fromValue(std::decay_t<decltype(args)>(args))...};
        };
    }
    void Check() const {
        for (const Listener& l : listeners_) {
            EXPECT_TRUE(l.times < 0 ? l.calls > 0 : l.calls == l.times) << l.signal << l.calls;
            EXPECT_TRUE(l.first.count() == l.calls && l.second.count() == l.calls) << l.signal;
            if (l.calls > 0 && !l.args.isEmpty()) {
                EXPECT_TRUE(l.first.last() == l.args && l.second.last() == l.args) << l.signal;
            }
        }
    }

private:
    struct Listener {
        Listener(QObject* s, const char* sig, int n)
            : sender(s), signal(sig), times(n), first(s, sig), second(s, sig) {}
        QObject* sender;
        const char* signal;
        int times, calls = 0;
        QSignalSpy first, second;
        QVariantList args;
    };
    std::list<Listener> listeners_;
};
