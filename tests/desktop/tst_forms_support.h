#pragma once
// Driving modal windows in the form tests: a modal window runs its own event
// loop, so the test acts on it from a timer that polls for it.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QtTest>
#include <functional>

// `Type* const var`: the control of `form` whose objectName is `name`. A form
// without it fails the test function, or the action on a modal window, that
// looks it up, there and then; the rest of the test program goes on.
#define CONTROL(Type, var, form, name)                \
    Type* const var = (form)->findChild<Type*>(name); \
    QVERIFY2(var != nullptr, qPrintable(QStringLiteral("no control ") + QString(name)))

namespace vexamo::desktop::test {

// Runs `action` once on the first modal window of type T that appears
// within the time limit (counted by `seen`).
template <typename T>
class WhenModal : public QObject {
public:
    explicit WhenModal(std::function<void(T*)> action, int timeoutMs = 5000)
        : m_action(std::move(action)), m_deadline(timeoutMs) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
                m_timer.stop();
                ++seen;
                const QPointer<QDialog> dialog = qobject_cast<QDialog*>(window);
                m_action(window);
                // An action that failed (a missing control) may have left its
                // window open: closed, so that the test ends instead of waiting.
                if (QTest::currentTestFailed() && dialog && dialog->isVisible()) dialog->reject();
            } else if (m_deadline.hasExpired()) {
                m_timer.stop();
            }
        });
        m_timer.start(5);
    }
    int seen = 0;

private:
    std::function<void(T*)> m_action;
    QDeadlineTimer m_deadline;
    QTimer m_timer;
};

// While alive, answers every modal message box with `button`, recording its
// text, icon and whether it offered a check box (which `checkIt` ticks).
class BoxCloser : public QObject {
public:
    explicit BoxCloser(QMessageBox::StandardButton button = QMessageBox::Ok, bool checkIt = false)
        : m_button(button), m_checkIt(checkIt) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            texts << box->text();
            icons << box->icon();
            checkBoxes << (box->checkBox() != nullptr ? box->checkBox()->text() : QString());
            if (m_checkIt && box->checkBox() != nullptr) box->checkBox()->setChecked(true);
            if (QAbstractButton* button = box->button(m_button))
                button->click();
            else
                box->reject();
        });
        m_timer.start(5);
    }
    QStringList texts;
    QList<QMessageBox::Icon> icons;
    QStringList checkBoxes;

private:
    QMessageBox::StandardButton m_button;
    bool m_checkIt;
    QTimer m_timer;
};

}  // namespace vexamo::desktop::test
