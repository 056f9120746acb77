#include "MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "Icons.h"
#include "QtTranslation.h"
#include "ReportActions.h"
#include "ReportFont.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "control/DataDialogActions.h"
#include "control/ProblemFile.h"
#include "dialogs/DesignDialog.h"
#include "dialogs/TechnologicalDialog.h"
#include "forms/MessageBoxes.h"
#include "forms/QtDialogs.h"

namespace vexamo::desktop {

namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

// The normal arrow while a question of the Run is on the screen, over the
// hourglass of the Run.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowWhileAsking() { QGuiApplication::restoreOverrideCursor(); }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;
};

template <class F>
auto asking(F&& f) {
    const ArrowWhileAsking arrow;
    return f();
}

// The dialogs of one Run: the forms, with the arrow cursor while they ask,
// and the problem-data tool buttons enabled as the Run passes their steps.
class RunDialogs : public Dialogs {
public:
    RunDialogs(Dialogs& forms, std::function<void()> technoStarts, std::function<void()> technoDone,
               std::function<void()> designDone)
        : m_forms(forms),
          m_technoStarts(std::move(technoStarts)),
          m_technoDone(std::move(technoDone)),
          m_designDone(std::move(designDone)) {}

    void message(const MessageRequest& r) override {
        asking([&] { m_forms.message(r); });
    }
    bool confirm(const ConfirmRequest& r) override {
        return asking([&] { return m_forms.confirm(r); });
    }
    bool abortRetry(const AbortRetryRequest& r) override {
        return asking([&] { return m_forms.abortRetry(r); });
    }
    std::optional<std::filesystem::path> openFile(const FileRequest& r) override {
        return asking([&] { return m_forms.openFile(r); });
    }
    std::optional<std::filesystem::path> saveFile(const FileRequest& r) override {
        return asking([&] { return m_forms.saveFile(r); });
    }
    InputAnswer ask(const InputRequest& r) override {
        return asking([&] { return m_forms.ask(r); });
    }
    GridAnswer ask(const GridRequest& r) override {
        return asking([&] { return m_forms.ask(r); });
    }
    AlternAnswer ask(const AlternRequest& r) override {
        return asking([&] { return m_forms.ask(r); });
    }
    MethodAnswer ask(const MethodRequest& r) override {
        return asking([&] { return m_forms.ask(r); });
    }
    CheckListAnswer ask(const CheckListRequest& r) override {
        return asking([&] { return m_forms.ask(r); });
    }
    GapCalcAnswer ask(const GapCalcRequest& r) override {
        return asking([&] { return m_forms.ask(r); });
    }
    bool showTechnological(TechnologicalDialogModel& model) override {
        m_technoStarts();
        const bool accepted = asking([&] { return m_forms.showTechnological(model); });
        m_technoDone();
        return accepted;
    }
    bool showDesign(DesignDialogModel& model) override {
        const bool accepted = asking([&] { return m_forms.showDesign(model); });
        m_designDone();
        return accepted;
    }
    void showProfileGraph(const ProfileGraphRequest& r) override {
        asking([&] { m_forms.showProfileGraph(r); });
    }
    void setWaitLabel(const std::string& text) override { m_forms.setWaitLabel(text); }

private:
    Dialogs& m_forms;
    std::function<void()> m_technoStarts, m_technoDone, m_designDone;
};

}  // namespace

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent), m_session(session) {
    setObjectName(QStringLiteral("fmHeatExch"));
    setWindowTitle(QStringLiteral("Vexamo"));
    setWindowIcon(icon(IconId::Application));

    m_qtTranslation = new QtTranslation(QString(), this);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("mmHeatEx"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setFont(reportFont());

    m_actions = new ReportActions(m_session, m_memo, this);
    connect(m_actions, &ReportActions::quitRequested, this, &MainWindow::quit);

    m_dialogs = new QtDialogs(m_session, this);
    if (!m_dialogs->parent()) m_dialogs->setParent(this);
    m_actions->setProfileSource([this] { return m_dialogs->lastProfile(); });

    buildMenus();
    buildToolBars();
    buildFrame();

    m_session.Report.setListener([this] { syncMemo(); });
    syncMemo();
    updateShowProfile();

    FrameEnter();
    fitToScreen();
    Timer1Timer();
}

MainWindow::~MainWindow() {
    m_session.Report.setListener({});
    // The port and the forms it keeps go before the window they belong to.
    delete m_dialogs;
    m_dialogs = nullptr;
}

void MainWindow::buildMenus() {
    // The frame's main menu: File, then the top-level items, Edit last.
    m_fileMenu = new QMenu(this);
    m_fileMenu->setObjectName(QStringLiteral("mnFile"));
    m_fileMenu->addAction(m_actions->OpenAction());
    m_fileMenu->addAction(m_actions->SavAction());
    m_fileMenu->addAction(m_actions->SavAsAction());
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_actions->CancAction());
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_actions->FontAction());
    m_fileMenu->addAction(m_actions->PrintAction());
    m_fileMenu->addAction(m_actions->PdfAction());

    // TfmAddAction: the problem-data actions of the Edit menu.
    auto make = [this](const char* name, IconId id, int which) {
        auto* action = new QAction(icon(id), QString(), this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, which] { runProblemAction(which); });
        return action;
    };
    m_fileAction = make("FileAction", IconId::ProblemFile, 0);
    m_technoAction = make("TechnoAction", IconId::TechnoData, 1);
    m_designAction = make("DesignAction", IconId::DesignData, 2);
    m_editMenu = new QMenu(this);
    m_editMenu->setObjectName(QStringLiteral("mnEdit"));
    m_editMenu->addAction(m_fileAction);
    m_editMenu->addAction(m_technoAction);
    m_editMenu->addAction(m_designAction);
    m_showProfileAction = new QAction(icon(IconId::Profile), QString(), this);
    m_showProfileAction->setObjectName(QStringLiteral("ShowProfileAction"));
    connect(m_showProfileAction, &QAction::triggered, this, [this] {
        if (!m_running) m_dialogs->showLastProfile();
    });
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_showProfileAction);

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->addMenu(m_fileMenu);
    // A menu bar shows an action's picture instead of its caption: the
    // top-level items are captions that trigger the actions.
    const std::pair<QAction*, const char*> topLevel[] = {
        {m_actions->FontAction(), "mnFont"},
        {m_actions->PrintAction(), "mnPrint"},
        {m_actions->AboutAction(), "mnAbout"},
        {m_actions->HomePageAction(), "mnHomePage"},
    };
    for (const auto& [action, name] : topLevel) {
        auto* item = new QAction(this);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, action, &QAction::trigger);
        m_menuBarItems.push_back({item, action});
        bar->addAction(item);
    }
    bar->addMenu(m_editMenu);
}

void MainWindow::buildToolBars() {
    m_toolBar1 = new QToolBar(this);
    m_toolBar1->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar1->setMovable(false);
    const std::pair<QAction*, const char*> frameButtons[] = {
        {m_actions->OpenAction(), "ToolBtnOpen"},
        {m_actions->SavAction(), "ToolBtnSave"},
        {m_actions->SavAsAction(), "ToolBtnSaveAs"},
        {m_actions->FontAction(), "ToolBtnFont"},
        {m_actions->PrintAction(), "ToolBtnPrint"},
        {m_actions->AboutAction(), "ToolBtnAbout"},
        {m_actions->HomePageAction(), "ToolBtnHomePage"},
    };
    for (const auto& [action, name] : frameButtons) {
        m_toolBar1->addAction(action);
        m_toolBar1->widgetForAction(action)->setObjectName(QLatin1String(name));
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar1);

    // The problem-data buttons are enabled and disabled on their own (the Run
    // enables them step by step) while their actions stay usable in the menu,
    // so they are plain buttons that trigger the actions.
    m_addToolBar = new QToolBar(this);
    m_addToolBar->setObjectName(QStringLiteral("AddToolBar"));
    m_addToolBar->setMovable(false);
    auto button = [this](QAction* action, const char* name) {
        auto* b = new QToolButton(m_addToolBar);
        b->setObjectName(QLatin1String(name));
        b->setIcon(action->icon());
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, action, &QAction::trigger);
        m_addToolBar->addWidget(b);
        return b;
    };
    m_btEdTechn = button(m_technoAction, "ToolBtEdTechn");
    m_btEdDes = button(m_designAction, "ToolBtEdDes");
    m_btOpFile = button(m_fileAction, "ToolBtOpFile");
    m_addToolBar->addSeparator();
    m_addToolBar->addAction(m_showProfileAction);
    m_addToolBar->widgetForAction(m_showProfileAction)
        ->setObjectName(QStringLiteral("ToolBtShowProfile"));
    addToolBar(Qt::TopToolBarArea, m_addToolBar);
}

void MainWindow::buildFrame() {
    m_lbFrame = new QLabel(this);
    m_lbFrame->setObjectName(QStringLiteral("lbFrame"));
    m_lbFrame->setTextFormat(Qt::PlainText);
    m_lbFrame->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_dialogs->setWaitLabelTarget(m_lbFrame);

    m_run = new QPushButton(this);
    m_run->setObjectName(QStringLiteral("BitBtnRun"));
    m_run->setIcon(icon(IconId::Run));
    m_run->setDefault(true);
    m_run->setMinimumWidth(110);
    connect(m_run, &QPushButton::clicked, this, &MainWindow::frMainForm1BitBtnRunClick);

    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BitBtCancel"));
    m_cancel->setIcon(icon(IconId::Exit));
    m_cancel->setMinimumWidth(110);
    connect(m_cancel, &QPushButton::clicked, m_actions->CancAction(), &QAction::trigger);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(6, 4, 6, 4);
    bottom->addWidget(m_lbFrame, 1);
    bottom->addWidget(m_run);
    bottom->addWidget(m_cancel);

    // The frame: the report memo above its bottom panel.
    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("frMainForm1"));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_memo, 1);
    layout->addLayout(bottom);
    setCentralWidget(frame);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_panel0 = new QLabel(m_statusBar);
    m_panel0->setObjectName(QStringLiteral("StatusPanel0"));
    m_panel0->setFixedWidth(550);
    m_panel0->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_panel1 = new QLabel(m_statusBar);
    m_panel1->setObjectName(QStringLiteral("StatusPanel1"));
    // 50 pixels, or what the clock needs in the current font.
    m_panel1->setFixedWidth(
        std::max(50, m_panel1->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00")) + 8));
    m_panel1->setAlignment(Qt::AlignCenter);
    m_statusBar->addWidget(m_panel0);
    m_statusBar->addWidget(m_panel1);
    setStatusBar(m_statusBar);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    m_timer->start();
}

namespace {

constexpr QSize kPreferredSize(980, 700);
// Room for a title bar and borders while the window manager has not yet
// said how large its frame is.
constexpr QMargins kFrameAllowance(8, 40, 8, 8);

}  // namespace

QSize MainWindow::fittedWindowSize(const QSize& preferred, const QSize& minimum,
                                   const QRect& available, const QMargins& frame) {
    const int width = std::min(preferred.width(), available.width() - frame.left() - frame.right());
    const int height =
        std::min(preferred.height(), available.height() - frame.top() - frame.bottom());
    return QSize(std::max(width, minimum.width()), std::max(height, minimum.height()));
}

void MainWindow::fitToScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        resize(kPreferredSize);
        return;
    }
    const QRect available = screen->availableGeometry();
    QMargins frame = kFrameAllowance;
    if (const QWindow* handle = windowHandle(); handle != nullptr && isVisible()) {
        const QMargins known = handle->frameMargins();
        if (!known.isNull()) frame = known;
    }
    resize(fittedWindowSize(kPreferredSize, minimumSizeHint(), available, frame));
    // Then inside the area: a window that opened partly off the screen moves in.
    const QSize outer(width() + frame.left() + frame.right(),
                      height() + frame.top() + frame.bottom());
    QPoint topLeft = frameGeometry().topLeft();
    topLeft.setX(std::clamp(topLeft.x(), available.left(),
                            std::max(available.left(), available.right() + 1 - outer.width())));
    topLeft.setY(std::clamp(topLeft.y(), available.top(),
                            std::max(available.top(), available.bottom() + 1 - outer.height())));
    move(topLeft);
}

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // Once shown the frame is known: fitted again with it, the first time.
    if (!m_fittedWhenShown && !e->spontaneous()) {
        m_fittedWhenShown = true;
        fitToScreen();
    }
}

QString MainWindow::clockText(const QTime& time) {
    return QString::fromStdString(formatInteger(time.hour(), 0, 2) + "." +
                                  formatInteger(time.minute(), 0, 2) + "." +
                                  formatInteger(time.second(), 0, 2));
}

void MainWindow::Timer1Timer() { m_panel1->setText(clockText(QTime::currentTime())); }

void MainWindow::FrameEnter() {
    const LanguageFlagType lang = m_session.LanguageFlag;
    // The standard buttons and dialogs of Qt speak the same language.
    m_qtTranslation->setLanguage(lang);
    m_fileMenu->setTitle(qs(vexamo::tr(lang, "File", "Файл")));
    m_editMenu->setTitle(qs(vexamo::tr(lang, "Edit", "Редактировать")));
    m_run->setText(qs(vexamo::tr(lang, "Run", "Пуск")));
    m_run->setToolTip(qs(vexamo::tr(lang, "Click on this button to begin operations",
                                    "Для начала работы щелкните по этой кнопке")));
    m_cancel->setText(qs(vexamo::tr(lang, "Cancel", "Выход")));
    m_actions->setLanguage();
    for (const auto& [item, action] : m_menuBarItems) item->setText(action->text());

    m_fileAction->setText(qs(vexamo::tr(lang, "Datafile", "Файл данных")));
    m_fileAction->setToolTip(qs(vexamo::tr(lang, "Opening of datafile", "Загрузка файла данных")));
    m_technoAction->setText(
        qs(vexamo::tr(lang, "Technological parameters", "Технологические параметры")));
    m_technoAction->setToolTip(qs(vexamo::tr(lang, "Editing of technological parameters",
                                             "Редактирование технологических параметров")));
    m_designAction->setText(qs(vexamo::tr(lang, "Design parameters", "Конструктивные параметры")));
    m_designAction->setToolTip(qs(vexamo::tr(lang, "Editing of design parameters",
                                             "Редактирование конструктивных параметров")));
    m_showProfileAction->setText(
        qs(vexamo::tr(lang, "Show last profile", "Показать последний профиль")));
    m_showProfileAction->setToolTip(
        qs(vexamo::tr(lang, "Show the temperature profile of the last Run again",
                      "Показать снова температурный профиль последнего расчета")));
    for (QAction* action : {m_fileAction, m_technoAction, m_designAction, m_showProfileAction})
        action->setStatusTip(action->toolTip());
    m_btEdTechn->setToolTip(m_technoAction->toolTip());
    m_btEdDes->setToolTip(m_designAction->toolTip());
    m_btOpFile->setToolTip(m_fileAction->toolTip());

    // While a Run goes on, its button keeps the picture of a running calculation.
    if (!m_running) loadRunPicture("LED2OFF.BMP");
}

void MainWindow::loadRunPicture(const char* fileName) {
    const QString path = QDir::current().filePath(QLatin1String(fileName));
    if (!QFileInfo::exists(path)) return;
    const QPixmap picture(path);
    if (picture.isNull()) return;
    // The picture holds two images side by side: enabled, then disabled.
    const int half = picture.width() / 2;
    if (half <= 0) return;
    QIcon glyph;
    glyph.addPixmap(picture.copy(0, 0, half, picture.height()), QIcon::Normal);
    glyph.addPixmap(picture.copy(half, 0, half, picture.height()), QIcon::Disabled);
    m_run->setIcon(glyph);
    m_run->setIconSize(QSize(half, picture.height()));
}

void MainWindow::FormActivate() {
    m_run->setFocus(Qt::ActiveWindowFocusReason);
    FrameEnter();
    m_session.TechnoPending = true;
    m_session.DesignPending = true;
    m_session.TechnoEntered = false;
    m_session.DesignEntered = false;
    m_btOpFile->setEnabled(false);
    m_btEdTechn->setEnabled(false);
    m_btEdDes->setEnabled(false);
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QMainWindow::event(e);
}

void MainWindow::frMainForm1BitBtnRunClick() {
    // A second press cannot start a Run while one goes on.
    if (m_running) return;
    m_running = true;
    loadRunPicture("LED2ON.BMP");
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_dialogs->beginRun();

    if (!(m_session.TechnoPending && m_session.DesignPending)) m_btOpFile->setEnabled(true);
    RunDialogs dialogs(
        *m_dialogs, [this] { m_btOpFile->setEnabled(true); },
        [this] { m_btEdTechn->setEnabled(true); }, [this] { m_btEdDes->setEnabled(true); });
    bool exitRequested = false;
    // The profile of this Run replaces the one kept from the Run before.
    const std::optional<ProfileGraphRequest> previousProfile = m_dialogs->lastProfile();
    m_dialogs->setLastProfile(std::nullopt);
    RunOutcome outcome = RunOutcome::NoResults;
    // The report, the window and the loaded problem outlive whatever goes
    // wrong inside a Run.
    try {
        outcome = runCalculation(m_session, dialogs, m_runSettings);
        exitRequested = outcome == RunOutcome::ExitRequested;
    } catch (const std::exception& e) {
        const ArrowWhileAsking arrow;
        showError(this, e, m_session.LanguageFlag);
    } catch (...) {
        const ArrowWhileAsking arrow;
        showMessage(
            this, MessageKind::Error,
            vexamo::tr(m_session.LanguageFlag, "The calculation ended with an unknown error.",
                       "Расчет завершился неизвестной ошибкой."));
    }
    // A Run the person cancelled leaves everything as it was, the last
    // profile too.
    if (outcome == RunOutcome::Cancelled) m_dialogs->setLastProfile(previousProfile);
    updateShowProfile();
    QGuiApplication::restoreOverrideCursor();
    m_running = false;
    loadRunPicture("LED2OFF.BMP");
    // The person chose to end the program: as Exit, with the offer to save the report.
    if (exitRequested) m_actions->CancActionExecute();
}

void MainWindow::updateShowProfile() {
    m_showProfileAction->setEnabled(m_dialogs->lastProfile().has_value());
}

void MainWindow::runProblemAction(int which) {
    if (m_running) return;
    try {
        switch (which) {
            case 0:
                FileActionExecute(m_session, *m_dialogs);
                break;
            case 1:
                TechnoActionExecute(m_session, *m_dialogs);
                break;
            default:
                DesignActionExecute(m_session, *m_dialogs);
                break;
        }
    } catch (const std::exception& e) {
        showError(this, e, m_session.LanguageFlag);
    }
}

void MainWindow::syncMemo() {
    const std::vector<std::string>& lines = m_session.Report.lines();
    // The first line that differs from what the memo shows; the memo is
    // rebuilt from there (lines added at the end are simply appended).
    std::size_t first = 0;
    while (first < lines.size() && first < m_shownLines.size() &&
           lines[first] == m_shownLines[first])
        ++first;
    if (first == lines.size() && first == m_shownLines.size()) return;

    auto joined = [&](std::size_t from) {
        QString text;
        for (std::size_t i = from; i < lines.size(); ++i) {
            if (i > from) text += QLatin1Char('\n');
            text += QString::fromStdString(lines[i]);
        }
        return text;
    };
    QTextDocument* document = m_memo->document();
    if (first == 0 || m_shownLines.empty()) {
        m_memo->setPlainText(joined(0));
    } else {
        // Remove from the end of line first-1 to the end, then add the rest.
        QTextCursor cursor(document);
        const QTextBlock previous = document->findBlockByNumber(static_cast<int>(first) - 1);
        cursor.setPosition(previous.position() + previous.length() - 1);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        if (first < lines.size()) cursor.insertText(QStringLiteral("\n") + joined(first));
    }
    m_shownLines = lines;
    // Show the newest lines.
    m_memo->moveCursor(QTextCursor::End);
    m_memo->ensureCursorVisible();
    m_memo->horizontalScrollBar()->setValue(0);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (m_running) {
        e->ignore();
        return;
    }
    if (!m_quitting) {
        // Closing the window is Exit: the report is offered for saving first.
        if (!m_actions->confirmExit()) {
            e->ignore();
            return;
        }
        m_quitting = true;
        emit quitRequested();
    }
    e->accept();
}

void MainWindow::quit() {
    m_quitting = true;
    emit quitRequested();
    close();
}

}  // namespace vexamo::desktop
