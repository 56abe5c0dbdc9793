// A toolkit context on the headless host, with a recorder of handler calls.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/cpw.hpp"
#include "toolkit/cpw_state.hpp"
#include "toolkit/null_host.hpp"

struct Call {
    int win;
    std::string what;
    std::vector<int> args;
    int current;  // window made current when the handler ran
    bool operator==(const Call&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Call& c) {
    os << c.what << '@' << c.win << '(';
    for (int a : c.args) os << a << ' ';
    return os << ')';
}

class NullHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto host = std::make_unique<CpwNullHost>();
        host_ = host.get();
        ASSERT_EQ(cpwInitContextHost(&cpw_, std::move(host)), 1);
    }
    void TearDown() override { cpwFreeContext(&cpw_); }

    void record(int win, const char* what, std::vector<int> args) {
        calls_.push_back({win, what, std::move(args), host_->current});
        host_->current = 0;  // so each call shows whether its window was made current
    }
    // Context-wide handlers that record every call.
    void record_all() {
        cpwCreateCallback(cpw_,
                          [this](pCpw, int w, int f) { record(w, f ? "create" : "close", {}); });
        cpwDisplayCallback(cpw_, [this](pCpw, int w) { record(w, "display", {}); });
        cpwReshapeCallback(cpw_, [this](pCpw, int w, int x, int y) {
            record(w, "reshape", {x, y});
        });
        cpwPositionCallback(cpw_, [this](pCpw, int w, int x, int y) {
            record(w, "position", {x, y});
        });
        cpwMouseClickCallback(cpw_, [this](pCpw, int w, int s, int b, int x, int y) {
            record(w, "click", {s, b, x, y});
        });
        cpwMouseMoveCallback(cpw_, [this](pCpw, int w, int x, int y) {
            record(w, "move", {x, y});
        });
        cpwMouseDragCallback(cpw_, [this](pCpw, int w, int b, int x, int y) {
            record(w, "drag", {b, x, y});
        });
        cpwMouseEntryCallback(cpw_, [this](pCpw, int w, int s) { record(w, "entry", {s}); });
    }
    // Sends every queued event.
    void drain() {
        while (cpw_event_send(cpw_)) {
        }
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const Call& c : calls_) out.push_back(c.what);
        return out;
    }

    pCpw cpw_ = nullptr;
    CpwNullHost* host_ = nullptr;
    std::vector<Call> calls_;
};
