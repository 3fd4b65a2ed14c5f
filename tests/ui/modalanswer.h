// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <source_location>
#include <utility>

// Answers the modal windows a test's action opens, from the event loop, one step after the
// other: each step waits until its window is the active modal one, then runs its action.
//
// A window that never comes must fail the test, never let it pass with its checks skipped, so
// the answer says whether every step ran (ran()), and the test checks that with
// VELMORA_VERIFY_MODAL (or VELMORA_TRY_VERIFY_MODAL when the window opens later, from the
// event loop). An answer that nobody checked fails the test when it ends. Should a window never
// show, the answer gives up after a while and closes whatever is modal, so that the test fails
// instead of hanging.
namespace velmora::test {

class ModalStep {
public:
    // The window given.
    static ModalStep window(QWidget *window, std::function<void()> action) {
        const QString name = window->objectName().isEmpty()
                                 ? QString::fromLatin1(window->metaObject()->className())
                                 : window->objectName();
        return {[window](QWidget *modal) { return modal == window; }, std::move(action), name};
    }
    // The first modal window of class T, whichever it is.
    template <typename T>
    static ModalStep of(std::function<void(T &)> action) {
        return {[](QWidget *modal) { return qobject_cast<T *>(modal) != nullptr; },
                [action = std::move(action)] {
                    action(*qobject_cast<T *>(QApplication::activeModalWidget()));
                },
                QString::fromLatin1(T::staticMetaObject.className())};
    }
    // Any modal window but the one given (a message box over a dialog, say).
    static ModalStep over(QWidget *under, std::function<void(QWidget &)> action) {
        return {[under](QWidget *modal) { return modal != under; },
                [action = std::move(action)] { action(*QApplication::activeModalWidget()); },
                QStringLiteral("a window over ") + under->objectName()};
    }

    std::function<bool(QWidget *)> matches;
    std::function<void()> action;
    QString what;
};

class ModalAnswer {
public:
    explicit ModalAnswer(std::deque<ModalStep> steps,
                         std::source_location where = std::source_location::current())
        : m_steps(std::move(steps))
        , m_total(m_steps.size())
        , m_where(where) {
        QObject::connect(&m_timer, &QTimer::timeout, &m_context, [this] { tick(); });
        m_timer.start(5);
    }
    ModalAnswer(const ModalAnswer &) = delete;
    ModalAnswer &operator=(const ModalAnswer &) = delete;
    ~ModalAnswer() {
        m_timer.stop();
        if (!m_checked && !QTest::currentTestFailed())
            QTest::qFail("a modal answer was never checked with VELMORA_VERIFY_MODAL",
                         m_where.file_name(), int(m_where.line()));
    }

    // Every step's window showed and its action returned.
    [[nodiscard]] bool ran() const {
        m_checked = true;
        return m_done == m_total;
    }
    // For helpers that return a value, where QVERIFY cannot: records the failure and goes on.
    void failUnlessRan(std::source_location where = std::source_location::current()) const {
        if (!ran())
            QTest::qFail(missing().constData(), where.file_name(), int(where.line()));
    }
    // For the failure message: the step that did not run, and where the answer was made.
    QByteArray missing() const {
        const QString step =
            m_steps.empty() ? QStringLiteral("(its action did not return)") : m_steps.front().what;
        return QStringLiteral("the modal window %1 (step %2 of %3, answered at %4:%5) never came")
            .arg(step)
            .arg(m_done + 1)
            .arg(m_total)
            .arg(QString::fromLatin1(m_where.file_name()))
            .arg(m_where.line())
            .toLocal8Bit();
    }

private:
    void tick() {
        if (m_steps.empty()) {
            m_timer.stop();
            return;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && m_steps.front().matches(modal)) {
            // Taken off before it runs, and run from an event of its own rather than from
            // this timer, which Qt does not fire again while its own handler runs: an action
            // that opens the next window runs that window's event loop, in which this timer
            // answers the next step.
            std::function<void()> action = std::move(m_steps.front().action);
            m_steps.pop_front();
            m_waited = 0;
            QMetaObject::invokeMethod(
                &m_context,
                [this, action = std::move(action)] {
                    action();
                    ++m_done;
                },
                Qt::QueuedConnection);
        } else if (++m_waited > kGiveUpTicks) {
            m_timer.stop();
            if (modal)
                modal->close();
        }
    }

    // Ticks of 5 ms: long enough for a loaded machine, short enough to end a lost test.
    static constexpr int kGiveUpTicks = 2000;

    std::deque<ModalStep> m_steps;
    std::size_t m_total;
    std::size_t m_done = 0;
    int m_waited = 0;
    mutable bool m_checked = false;
    std::source_location m_where;
    QObject m_context; // the queued actions go with the answer
    QTimer m_timer;
};

// Runs action once window is the active modal window.
[[nodiscard]] inline ModalAnswer
answerWhenShown(QWidget *window, std::function<void()> action,
                std::source_location where = std::source_location::current()) {
    return ModalAnswer({ModalStep::window(window, std::move(action))}, where);
}

} // namespace velmora::test

using velmora::test::answerWhenShown;
using velmora::test::ModalAnswer;
using velmora::test::ModalStep;

// Fails the test unless every step of the answer ran.
#define VELMORA_VERIFY_MODAL(answer) QVERIFY2((answer).ran(), (answer).missing().constData())
// The same for a window that opens later, from the event loop.
#define VELMORA_TRY_VERIFY_MODAL(answer)                                                           \
    QTRY_VERIFY2_WITH_TIMEOUT((answer).ran(), (answer).missing().constData(), 15000)
