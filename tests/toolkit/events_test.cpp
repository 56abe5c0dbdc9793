// The queue, dispatch and loop rules, on the headless host.
#include <gmock/gmock.h>

#include "fixture.hpp"

using ::testing::ElementsAre;

namespace {

using Queue = NullHostTest;

TEST_F(Queue, RingHolds256AndDropsWhenFull) {
    for (int i = 0; i < CpwEventQueue::size; ++i)
        ASSERT_TRUE(cpw_event_insert(cpw_, 1, cpw_ev_display)) << i;
    EXPECT_FALSE(cpw_event_insert(cpw_, 1, cpw_ev_display));
    EXPECT_EQ(cpw_event_count(cpw_), CpwEventQueue::size);
    EXPECT_TRUE(cpw_event_send(cpw_));  // no window 1: taken and dropped
    EXPECT_TRUE(cpw_event_insert(cpw_, 1, cpw_ev_display));
    EXPECT_FALSE(cpw_event_insert(cpw_, 1, cpw_ev_display));
}

TEST_F(Queue, FilteredKindsAreDroppedOnArrival) {
    ASSERT_EQ(cpwFilterEvent(cpw_, cpw_ev_mouse_move, 1), 1);
    EXPECT_FALSE(cpw_event_insert(cpw_, 1, cpw_ev_mouse_move, {1, 2}));
    EXPECT_TRUE(cpw_event_insert(cpw_, 1, cpw_ev_mouse_drag, {0, 1, 2}));
    ASSERT_EQ(cpwFilterEvent(cpw_, cpw_ev_mouse_move, 0), 1);
    EXPECT_TRUE(cpw_event_insert(cpw_, 1, cpw_ev_mouse_move, {1, 2}));
    EXPECT_EQ(cpwFilterEvent(cpw_, 99, 1), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
}

TEST_F(Queue, QueuedMovesAndResizesTakeTheNewValuesOfTheSameWindow) {
    record_all();
    const int a = cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    const int b = cpwCreateWindowEx(cpw_, "b", 0, 0, 10, 10);
    drain();
    calls_.clear();
    struct Case {
        std::vector<CpwEvent> queued;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {{{a, cpw_ev_reshape, {1, 1}}, {a, cpw_ev_reshape, {2, 2}}}, {"reshape 2"}},
        {{{a, cpw_ev_reshape, {1, 1}}, {a, cpw_ev_reshape, {2, 2}}, {a, cpw_ev_reshape, {3, 3}}},
         {"reshape 3"}},
        {{{a, cpw_ev_position, {1, 1}}, {a, cpw_ev_position, {5, 6}}}, {"position 5"}},
        {{{a, cpw_ev_reshape, {1, 1}}, {a, cpw_ev_display}, {a, cpw_ev_reshape, {2, 2}}},
         {"reshape 2", "display 0"}},
        {{{a, cpw_ev_position, {1, 1}}, {b, cpw_ev_position, {2, 2}}, {a, cpw_ev_position, {3, 3}}},
         {"position 3", "position 2"}},
        {{{a, cpw_ev_reshape, {1, 1}}, {b, cpw_ev_reshape, {2, 2}}}, {"reshape 1", "reshape 2"}},
        {{{a, cpw_ev_position, {1, 1}}, {a, cpw_ev_reshape, {2, 2}}}, {"position 1", "reshape 2"}},
    };
    for (const Case& c : cases) {
        calls_.clear();
        for (const CpwEvent& e : c.queued) cpw_event_insert(cpw_, e.window, e.kind, e.p);
        drain();
        std::vector<std::string> got;
        for (const Call& call : calls_)
            got.push_back(call.what + " " + std::to_string(call.args.empty() ? 0 : call.args[0]));
        EXPECT_EQ(got, c.calls) << "case with " << c.queued.size() << " events";
    }
}

using Dispatch = NullHostTest;

TEST_F(Dispatch, CreationQueuesCreatedMovedResizedRedrawWithTheWindowCurrent) {
    record_all();
    const int w = cpwCreateWindowEx(cpw_, "Form", 100, 120, 250, 300);
    ASSERT_EQ(w, 1);
    EXPECT_EQ(cpwGetWindow(cpw_), 1);
    host_->current = 0;  // must be made current again for each handler below
    drain();
    EXPECT_THAT(calls_, ElementsAre(Call{1, "create", {}, 1}, Call{1, "position", {100, 120}, 0},
                                    Call{1, "reshape", {250, 300}, 1}, Call{1, "display", {}, 1}));
    const CpwNullWindow* rec = host_->window(1);
    EXPECT_EQ(rec->request.title_utf8, "Form");
    EXPECT_EQ(rec->icon_width, 32);
}

TEST_F(Dispatch, WindowHandlerWinsOverContextHandler) {
    record_all();
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    cpwWindowHandlers(cpw_, w)->display = [this](pCpw, int win) { record(win, "own", {}); };
    drain();
    EXPECT_EQ(names(), (std::vector<std::string>{"create", "position", "reshape", "own"}));
}

TEST_F(Dispatch, CloseRequestGoesToTheCreateHandlerOrDestroysTheWindow) {
    record_all();
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    drain();
    cpw_input_close(cpw_, w);
    drain();
    EXPECT_EQ(calls_.back().what, "close");
    EXPECT_FALSE(host_->window(w)->destroyed);

    cpwCreateCallback(cpw_, nullptr);
    cpw_input_close(cpw_, w);
    drain();
    EXPECT_TRUE(host_->window(w)->destroyed);
    EXPECT_EQ(cpwShowWindow(cpw_, w), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_no_window);
}

// Files dropped on a window reach its drop handler once, in the order given; a drop on a window
// that is gone, or of nothing, is no event; the title changes the host's window.
TEST_F(Dispatch, DroppedFilesReachTheHandlerOnce) {
    std::vector<std::vector<std::string>> drops;
    cpwDropCallback(
        cpw_, [&](pCpw, int, const std::vector<std::string>& paths) { drops.push_back(paths); });
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    drain();
    cpw_input_drop(cpw_, w, {"/a/b.cup", "/c d/\xC3\xA9.gpx"});
    cpw_input_drop(cpw_, w + 7, {"/gone.cup"});
    cpw_input_drop(cpw_, w, {});
    drain();
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], (std::vector<std::string>{"/a/b.cup", "/c d/\xC3\xA9.gpx"}));
    EXPECT_EQ(cpwSetWindowTitle(cpw_, "Varnix \x97 b.cup", w), 1);
    EXPECT_EQ(cpwSetWindowTitle(cpw_, "x", w + 7), 0);
}

TEST_F(Dispatch, TitleOnlyWindowIgnoresCloseRequests) {
    record_all();
    ASSERT_EQ(cpwInitWindowProperty(cpw_, cpw_wprop_title_only, 1, 0), 1);
    ASSERT_EQ(cpwInitWindowProperty(cpw_, cpw_wprop_fixed_size, 1, 0), 1);
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    EXPECT_TRUE(host_->window(w)->request.title_only);
    EXPECT_TRUE(host_->window(w)->request.fixed_size);
    drain();
    calls_.clear();
    cpw_input_close(cpw_, w);
    EXPECT_TRUE(cpw_event_empty(cpw_));
    EXPECT_EQ(cpwInitWindowProperty(cpw_, 77, 1, 0), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
}

TEST_F(Dispatch, DestroyedWindowLosesItsQueuedEventsAndItsIdIsReused) {
    record_all();
    ASSERT_EQ(cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10), 1);
    ASSERT_EQ(cpwCreateWindowEx(cpw_, "b", 0, 0, 10, 10), 2);
    ASSERT_EQ(cpwDestroyWindow(cpw_, 1), 1);
    ASSERT_EQ(cpwCreateWindowEx(cpw_, "c", 0, 0, 10, 10), 1);
    drain();
    int creates_of_1 = 0;
    for (const Call& c : calls_) creates_of_1 += c.win == 1 && c.what == "create";
    EXPECT_EQ(creates_of_1, 1);  // only the new window's
    EXPECT_EQ(cpwCreateWindowEx(cpw_, "d", 0, 0, 10, 10), 3);
}

TEST_F(Dispatch, HandlerMayDestroyItsOwnWindow) {
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    cpwWindowHandlers(cpw_, w)->create = [](pCpw c, int win, int) { cpwDestroyWindow(c, win); };
    drain();
    EXPECT_TRUE(host_->window(w)->destroyed);
    EXPECT_EQ(cpwGetWindow(cpw_), 0);
}

TEST_F(Dispatch, OperationsOnAMissingWindowReportError16) {
    const std::vector<std::pair<const char*, std::function<int()>>> ops = {
        {"destroy", [&] { return cpwDestroyWindow(cpw_, 5); }},
        {"show", [&] { return cpwShowWindow(cpw_, 5); }},
        {"hide", [&] { return cpwHideWindow(cpw_, 5); }},
        {"swap", [&] { return cpwSwapWindowBuffers(cpw_, 5); }},
        {"reshape", [&] { return cpwReshapeWindow(cpw_, 10, 10, 5); }},
        {"cursor", [&] { return cpwSetCursor(cpw_, cpw_cursor_arrow, 5); }},
        {"size", [&] { return cpwGetWindowSize(cpw_, 5, nullptr, nullptr); }},
        {"handlers", [&] { return cpwWindowHandlers(cpw_, 5) != nullptr ? 1 : 0; }},
        {"redisplay", [&] { return cpwPostRedisplay(cpw_); }},
    };
    for (const auto& [name, op] : ops) {
        cpw_->last_error = 0;
        EXPECT_EQ(op(), 0) << name;
        EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_no_window) << name;
    }
}

TEST_F(Dispatch, CreationFailures) {
    struct Case {
        int width, height;
        bool host_fails;
        int error;
    };
    const Case cases[] = {
        {0, 10, false, cpw_err_argument},
        {10, -1, false, cpw_err_argument},
        {100000, 10, false, cpw_err_argument},
        {10, 10, true, cpw_err_window},
    };
    for (const Case& c : cases) {
        host_->fail_create = c.host_fails;
        EXPECT_EQ(cpwCreateWindowEx(cpw_, "x", 0, 0, c.width, c.height), 0);
        EXPECT_EQ(cpwGetLastError(cpw_), c.error);
    }
    EXPECT_TRUE(cpw_event_empty(cpw_));
}

using Reshape = NullHostTest;

TEST_F(Reshape, TwoReshapesGiveOneCallWithTheSecondSize) {
    record_all();
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 100, 100);
    drain();
    calls_.clear();
    cpwReshapeWindow(cpw_, 200, 150, w);
    cpwReshapeWindow(cpw_, 300, 250, w);
    // The host echoes both requests; neither is a new size to report.
    cpw_input_resized(cpw_, w, 200, 150);
    cpw_input_resized(cpw_, w, 300, 250);
    drain();
    EXPECT_EQ(names(), (std::vector<std::string>{"reshape", "display", "display"}));
    EXPECT_EQ(calls_[0].args, (std::vector<int>{300, 250}));
    EXPECT_EQ(host_->window(w)->size_requests,
              (std::vector<std::pair<int, int>>{{200, 150}, {300, 250}}));
    int width = 0, height = 0;
    cpwGetWindowSize(cpw_, w, &width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(300, 250));
}

TEST_F(Reshape, HostResizeCallsTheHandlerAtOnceAfterCreation) {
    record_all();
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 100, 100);
    cpw_input_resized(cpw_, w, 120, 80);  // before the created event: queued behind it
    cpw_input_refresh(cpw_, w);           // the queued first redraw covers it
    EXPECT_TRUE(calls_.empty());
    drain();
    EXPECT_EQ(names(), (std::vector<std::string>{"create", "position", "reshape", "display"}));
    EXPECT_EQ(calls_[2].args, (std::vector<int>{120, 80}));
    calls_.clear();
    cpw_input_resized(cpw_, w, 130, 90);
    cpw_input_refresh(cpw_, w);
    EXPECT_EQ(calls_, (std::vector<Call>{{w, "reshape", {130, 90}, w}, {w, "display", {}, w}}));
    EXPECT_TRUE(cpw_event_empty(cpw_));
    cpw_input_resized(cpw_, w, 130, 90);  // unchanged
    EXPECT_EQ(calls_.size(), 2u);
}

TEST_F(Reshape, BadSizeIsRefused) {
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 100, 100);
    EXPECT_EQ(cpwReshapeWindow(cpw_, 0, 10, w), 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
    EXPECT_TRUE(host_->window(w)->size_requests.empty());
}

using Loop = NullHostTest;

TEST_F(Loop, SendsThreeEventsPerPassAndBreaksAfterThePass) {
    std::vector<std::pair<std::string, int>> seen;  // handler, pass (counted by host pumps)
    auto note = [&](const char* what) { seen.emplace_back(what, host_->pumps); };
    cpwCreateCallback(cpw_, [&](pCpw, int, int) { note("create"); });
    cpwPositionCallback(cpw_, [&](pCpw, int, int, int) { note("position"); });
    cpwReshapeCallback(cpw_, [&](pCpw, int, int, int) { note("reshape"); });
    cpwDisplayCallback(cpw_, [&](pCpw c, int) {
        note("display");
        cpwBreakMainLoop(c);
    });
    cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    for (int i = 0; i < 3; ++i) cpwPostRedisplay(cpw_);
    EXPECT_EQ(cpwMainLoop(cpw_), 1);
    // The first redraw breaks; the pass still sends its three events, the seventh stays.
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{{"create", 1},
                                                              {"position", 1},
                                                              {"reshape", 1},
                                                              {"display", 2},
                                                              {"display", 2},
                                                              {"display", 2}}));
    EXPECT_EQ(cpw_event_count(cpw_), 1);
}

TEST_F(Loop, HandlesThreeHostMessagesPerPass) {
    std::vector<int> pass_of_message;
    for (int i = 0; i < 4; ++i)
        host_->messages.push_back([&] { pass_of_message.push_back(host_->pumps); });
    host_->messages.push_back([&] { cpwBreakMainLoop(cpw_); });
    EXPECT_EQ(cpwMainLoop(cpw_), 1);
    EXPECT_EQ(pass_of_message, (std::vector<int>{1, 1, 1, 2}));
}

TEST_F(Loop, IdlePassesWaitOnTheHostSleepOrCallTheIdleHandler) {
    // No idle or main-loop handler: block on the host.
    host_->messages.push_back([] {});
    host_->quit_after_idle_waits = 3;
    EXPECT_EQ(cpwMainLoop(cpw_), 1);  // the host's quit message ends it
    EXPECT_EQ(host_->waits, 3);
    EXPECT_EQ(host_->sleeps, 0);

    // A main-loop handler needs passes to happen: sleep 1 ms instead.
    int calls = 0, with_work = 0;
    cpwMainLoopCallback(
        cpw_,
        [&](pCpw c, int work) {
            with_work += work;
            if (++calls == 10) cpwBreakMainLoop(c);
        },
        2);
    host_->sleeps = host_->waits = host_->pumps = 0;
    EXPECT_EQ(cpwMainLoop(cpw_), 1);
    EXPECT_EQ(host_->pumps, 20);  // called every second pass
    EXPECT_EQ(with_work, 0);
    EXPECT_EQ(host_->sleeps, 19);
    EXPECT_EQ(host_->waits, 0);

    // An idle handler replaces the sleep.
    int idles = 0;
    cpwIdleCallback(cpw_, [&](pCpw c) {
        if (++idles == 5) cpwBreakMainLoop(c);
    });
    cpwMainLoopCallback(cpw_, nullptr, 1);
    host_->sleeps = 0;
    EXPECT_EQ(cpwMainLoop(cpw_), 1);
    EXPECT_EQ(idles, 5);
    EXPECT_EQ(host_->sleeps, 0);
}

TEST_F(Loop, ResultReflectsTheLastErrorAndTheLoopCanBeEnteredAgain) {
    cpwDisplayCallback(cpw_, [](pCpw c, int) { cpwBreakMainLoop(c); });
    const int w = cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    EXPECT_EQ(cpwMainLoop(cpw_), 1);
    cpwFontMode(cpw_, 999, 0);  // records error 3
    cpwPostRedisplay(cpw_);
    EXPECT_EQ(cpwMainLoop(cpw_), 0);
    EXPECT_FALSE(host_->window(w)->destroyed);
}

TEST_F(Loop, DestroyingWindowOneEndsTheLoopButNotOtherWindows) {
    cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    const int two = cpwCreateWindowEx(cpw_, "b", 0, 0, 10, 10);
    cpwDisplayCallback(cpw_, [&](pCpw c, int win) {
        if (win == two) cpwDestroyWindow(c, two);
    });
    host_->quit_after_idle_waits = 2;
    cpwMainLoop(cpw_);
    EXPECT_EQ(host_->waits, 2);  // window 2 gone, the loop went on until the host quit

    host_->messages.push_back([&] { cpw_input_close(cpw_, 1); });
    host_->quit_after_idle_waits = 1000;
    host_->waits = 0;
    EXPECT_EQ(cpwMainLoop(cpw_), 1);
    EXPECT_TRUE(host_->window(1)->destroyed);
    EXPECT_EQ(host_->waits, 0);
}

TEST_F(Loop, RefusesNestedEntryAndAMissingContext) {
    int inner = -1;
    cpwDisplayCallback(cpw_, [&](pCpw c, int) {
        inner = cpwMainLoop(c);
        cpwBreakMainLoop(c);
    });
    cpwCreateWindowEx(cpw_, "a", 0, 0, 10, 10);
    cpwMainLoop(cpw_);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(cpwGetLastError(cpw_), cpw_err_argument);
    EXPECT_EQ(cpwMainLoop(nullptr), 0);
}

TEST_F(Loop, InitOnAnExistingContextKeepsIt) {
    pCpw again = nullptr;
    EXPECT_EQ(cpwInitContext(&again), 1);
    EXPECT_EQ(again, cpw_);
    pCpw same = cpw_;
    EXPECT_EQ(cpwInitContext(&same), 1);
    EXPECT_EQ(same, cpw_);
}

}  // namespace

namespace {

TEST_F(Dispatch, ModalPumpDrawsButHoldsBackInputAndKeepsCloseRequests) {
    record_all();
    const int w = cpwCreateWindowEx(cpw_, "Form", 0, 0, 250, 300);
    drain();
    calls_.clear();
    // While a dialog is up: an expose and the user's clicks, keys and a close request.
    host_->messages.push_back([&] { cpw_input_refresh(cpw_, w); });
    cpw_event_insert(cpw_, w, cpw_ev_mouse_click, {cpw_press, cpw_button_left, 5, 5});
    cpw_event_insert(cpw_, w, cpw_ev_key, {1, 0x0D, 0x1C, 0x0D, 0});
    cpw_event_insert(cpw_, w, cpw_ev_close);
    cpw_event_insert(cpw_, w, cpw_ev_reshape, {300, 200});
    EXPECT_EQ(cpwModalPump(cpw_), 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"display", "reshape"}));
    calls_.clear();
    drain();  // after the dialog: the close request only
    EXPECT_EQ(names(), (std::vector<std::string>{"close"}));
    EXPECT_EQ(cpwFocusWindow(cpw_, 99), 0);
}

TEST_F(Dispatch, ContentScaleAndTheHostsReasonComeFromTheHost) {
    EXPECT_EQ(cpwGetContentScale(cpw_), 1.0f);
    host_->scale = 2;
    host_->error_text = "X11: Failed to open display :9";
    EXPECT_EQ(cpwGetContentScale(cpw_), 2.0f);
    EXPECT_EQ(cpwGetHostError(cpw_), "X11: Failed to open display :9");
}

}  // namespace
