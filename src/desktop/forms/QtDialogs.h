#pragma once
// The Dialogs port of the desktop: every request is shown by its form, modal
// over the main window.
#include <QObject>
#include <optional>

#include "control/Session.h"
#include "dialogs/Dialogs.h"

class QWidget;
class QLabel;

namespace vexamo::desktop {

class QtDialogs : public QObject, public Dialogs {
    Q_OBJECT
public:
    // `parent` is the window the forms stand over and the parent of the
    // forms kept between showings. The port itself is not a child of it: its
    // owner deletes it (before or after the window).
    QtDialogs(Session& session, QWidget* parent);
    ~QtDialogs() override;

    // Called by the Run button before each Run: boxes the person chose not to
    // see again are shown again in the new Run.
    void beginRun();
    // The frame's status label lbFrame that setWaitLabel writes.
    void setWaitLabelTarget(QLabel* label);

    // The temperature profile shown last (also one the person chose not to
    // see again during the Run); nothing before the first.
    const std::optional<ProfileGraphRequest>& lastProfile() const;
    void setLastProfile(std::optional<ProfileGraphRequest> request);
    // Shows the last profile again in the graph window (without the offer
    // not to show it again), from where it can be saved; nothing without one.
    void showLastProfile();

    void message(const MessageRequest& request) override;
    bool confirm(const ConfirmRequest& request) override;
    bool abortRetry(const AbortRetryRequest& request) override;
    // The problem to open ("file.open_problem") may also be a JSON problem:
    // the dialog offers both, a JSON problem is read here and handed on as a
    // problem file of the same data; one that cannot be used is reported
    // (naming the field) and counts as no choice.
    std::optional<std::filesystem::path> openFile(const FileRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const FileRequest& request) override;
    InputAnswer ask(const InputRequest& request) override;
    GridAnswer ask(const GridRequest& request) override;
    AlternAnswer ask(const AlternRequest& request) override;
    MethodAnswer ask(const MethodRequest& request) override;
    CheckListAnswer ask(const CheckListRequest& request) override;
    GapCalcAnswer ask(const GapCalcRequest& request) override;
    bool showTechnological(TechnologicalDialogModel& model) override;
    bool showDesign(DesignDialogModel& model) override;
    void showProfileGraph(const ProfileGraphRequest& request) override;
    void setWaitLabel(const std::string& text) override;

private:
    struct State;
    Session& m_session;
    QWidget* m_parent;
    State* m_state;  // forms kept between showings, "don't show again" choices
};

}  // namespace vexamo::desktop
