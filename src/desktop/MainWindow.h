#pragma once
// TfmHeatExch: the main window with the frame TfrMainForm (menu, tool bar
// ToolBar1, status label lbFrame, status bar StatusBar1 with the clock, the
// buttons Run and Cancel), the problem-data tool bar AddToolBar and the
// report memo mmHeatEx that shows session.Report.
#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "control/RunDriver.h"
#include "control/Session.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTime;
class QTimer;
class QToolBar;
class QToolButton;

namespace vexamo::desktop {

class QtDialogs;
class QtTranslation;
class ReportActions;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Session& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return m_session; }
    ReportActions& reportActions() { return *m_actions; }
    QtDialogs& dialogs() { return *m_dialogs; }

    // The clock of status panel 1: "%.2d.%.2d.%.2d" of hours, minutes, seconds.
    static QString clockText(const QTime& time);

    // The size the window opens with: `preferred`, cut to the `available`
    // area of the screen less the window's `frame`, but not below `minimum`.
    static QSize fittedWindowSize(const QSize& preferred, const QSize& minimum,
                                  const QRect& available, const QMargins& frame);

    // What the Run passes to the Run driver besides the session and the
    // dialogs (stream preparation, exchanger classes); the default is the
    // program's own.
    void setRunSettings(RunSettings settings) { m_runSettings = std::move(settings); }
    bool runInProgress() const { return m_running; }

    // FormActivate: the language to the frame and the actions, focus on Run
    // (FrameEnter), the Run flags reset and the three problem-data tool
    // buttons disabled. Called whenever the window becomes active.
    void FormActivate();
    // FrameEnter: texts and pictures of the frame in the session's language;
    // Qt's own texts (standard buttons, file and print dialogs) follow it.
    void FrameEnter();
    // The Run button.
    void frMainForm1BitBtnRunClick();
    // Timer1Timer: the clock in status panel 1.
    void Timer1Timer();

signals:
    // Exit was confirmed (the Exit action, Cancel, or closing the window).
    void quitRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildToolBars();
    void buildFrame();
    // Sizes and places the window inside the available area of its screen
    // (at 150 % scaling a screen 1000 pixels high offers some 640).
    void fitToScreen();
    void syncMemo();
    // The picture of the Run button from a file of the current folder, when
    // there is one ("LED2ON.BMP" while a Run goes on, "LED2OFF.BMP" else).
    void loadRunPicture(const char* fileName);
    void runProblemAction(int which);
    // "Show last profile" is usable when the last Run left a profile.
    void updateShowProfile();
    void quit();

    Session& m_session;
    RunSettings m_runSettings;
    bool m_running = false;
    bool m_quitting = false;
    bool m_fittedWhenShown = false;

    QPlainTextEdit* m_memo = nullptr;       // mmHeatEx
    std::vector<std::string> m_shownLines;  // what the memo shows of the report

    ReportActions* m_actions = nullptr;  // TfmAction
    QtDialogs* m_dialogs = nullptr;
    QtTranslation* m_qtTranslation = nullptr;  // Qt's own texts in the session's language

    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    std::vector<std::pair<QAction*, QAction*>> m_menuBarItems;  // item, the action it triggers
    QAction* m_fileAction = nullptr;                            // FileAction
    QAction* m_technoAction = nullptr;                          // TechnoAction
    QAction* m_designAction = nullptr;                          // DesignAction
    QAction* m_showProfileAction = nullptr;  // the last Run's temperature profile again

    QToolBar* m_toolBar1 = nullptr;
    QToolBar* m_addToolBar = nullptr;
    QToolButton* m_btEdTechn = nullptr;  // ToolBtEdTechn
    QToolButton* m_btEdDes = nullptr;    // ToolBtEdDes
    QToolButton* m_btOpFile = nullptr;   // ToolBtOpFile

    QLabel* m_lbFrame = nullptr;
    QPushButton* m_run = nullptr;     // BitBtnRun
    QPushButton* m_cancel = nullptr;  // BitBtCancel
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_panel0 = nullptr;
    QLabel* m_panel1 = nullptr;
    QTimer* m_timer = nullptr;  // Timer1
};

}  // namespace vexamo::desktop
