#include "desktop/forms/QtDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QTemporaryFile>
#include <memory>

#include "desktop/forms/FormSupport.h"
#include "desktop/forms/JsonProblemOpen.h"
#include "desktop/forms/MessageBoxes.h"
#include "desktop/forms/TForm1.h"
#include "desktop/forms/TfmAltern.h"
#include "desktop/forms/TfmCheckListBox.h"
#include "desktop/forms/TfmDesign.h"
#include "desktop/forms/TfmGapCalc.h"
#include "desktop/forms/TfmHexData.h"
#include "desktop/forms/TfmHexGraph.h"
#include "desktop/forms/TfmInput.h"
#include "desktop/forms/TfmStrGr.h"

namespace vexamo::desktop {

namespace {

// The box an iteration shows at every step; the person may decline to see
// it again until the next Run.
constexpr const char* kRepeatedMessageId = "heatcool.pass_temperatures";

std::string dontShowAgainText(LanguageFlagType languageFlag) {
    return tr(languageFlag, "Don't show again during this Run",
              "Больше не показывать в этом расчете");
}

// A form that lives as long as the program: created on first use, a child
// of the main window, deleted with it or with the port, whichever goes
// first.
template <typename Form>
Form& keptForm(QPointer<Form>& form, QWidget* parent) {
    if (form.isNull()) form = new Form(parent);
    return *form;
}

std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

}  // namespace

struct QtDialogs::State {
    QPointer<TfmHexData> technological;
    QPointer<TfmDesign> design;
    QPointer<TfmAltern> altern;
    QPointer<TfmCheckListBox> checkList;
    QPointer<TfmHexGraph> graph;
    QPointer<QLabel> waitLabel;
    bool passTemperaturesHidden = false;
    bool graphHidden = false;
    // The problem file handed to the core's loader for the JSON problem
    // opened last.
    std::unique_ptr<QTemporaryFile> openedJson;
    std::optional<ProfileGraphRequest> lastProfile;
};

QtDialogs::QtDialogs(Session& session, QWidget* parent)
    : m_session(session), m_parent(parent), m_state(new State) {}

QtDialogs::~QtDialogs() {
    delete m_state->technological.data();
    delete m_state->design.data();
    delete m_state->altern.data();
    delete m_state->checkList.data();
    delete m_state->graph.data();
    delete m_state;
}

void QtDialogs::beginRun() {
    m_state->passTemperaturesHidden = false;
    m_state->graphHidden = false;
}

void QtDialogs::setWaitLabelTarget(QLabel* label) { m_state->waitLabel = label; }

void QtDialogs::message(const MessageRequest& request) {
    QWidget* parent = topModalOr(m_parent);
    if (request.id == kRepeatedMessageId) {
        if (m_state->passTemperaturesHidden) return;
        if (showMessageWithCheckBox(parent, request.kind, request.text,
                                    dontShowAgainText(m_session.LanguageFlag)))
            m_state->passTemperaturesHidden = true;
        return;
    }
    showMessage(parent, request.kind, request.text);
}

bool QtDialogs::confirm(const ConfirmRequest& request) {
    return askYesNo(topModalOr(m_parent), request.text);
}

bool QtDialogs::abortRetry(const AbortRetryRequest& request) {
    return askAbortRetry(topModalOr(m_parent), request.text);
}

namespace {

std::optional<std::filesystem::path> runFileDialog(QWidget* parent, const FileRequest& request,
                                                   QFileDialog::AcceptMode mode) {
    // The toolkit's own dialog, the same on every platform.
    QFileDialog dialog(parent, qText(request.caption),
                       QString::fromStdString(request.initialFolder.string()));
    dialog.setObjectName(mode == QFileDialog::AcceptOpen ? QStringLiteral("OpenDialog")
                                                         : QStringLiteral("SaveDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return toPath(files.front());
}

}  // namespace

std::optional<std::filesystem::path> QtDialogs::openFile(const FileRequest& request) {
    QWidget* parent = topModalOr(m_parent);
    if (request.id != kOpenProblemId)
        return runFileDialog(parent, request, QFileDialog::AcceptOpen);

    // A problem: a problem file or a JSON problem.
    const LanguageFlagType lang = m_session.LanguageFlag;
    FileRequest problem = request;
    problem.filter = problemOpenFilter(lang);
    const auto chosen = runFileDialog(parent, problem, QFileDialog::AcceptOpen);
    if (!chosen || !isJsonProblem(*chosen)) return chosen;
    try {
        std::unique_ptr<QTemporaryFile> file =
            temporaryProblemFile(readJsonProblem(*chosen, m_session.Data, lang));
        m_state->openedJson = std::move(file);
        return toPath(m_state->openedJson->fileName());
    } catch (const std::exception& e) {
        // As a cancelled choice: the problem loaded before stays.
        showError(
            parent, e, lang,
            std::string(vexamo::tr(lang, "It was not possible to load the data from the file ",
                                   "Не удалось загрузить данные из файла ")) +
                chosen->string());
        return std::nullopt;
    }
}

std::optional<std::filesystem::path> QtDialogs::saveFile(const FileRequest& request) {
    return runFileDialog(topModalOr(m_parent), request, QFileDialog::AcceptSave);
}

InputAnswer QtDialogs::ask(const InputRequest& request) {
    TfmInput form(topModalOr(m_parent));
    form.setRequest(request);
    if (form.exec() != QDialog::Accepted) {
        InputAnswer cancelled;
        cancelled.cancelled = true;
        return cancelled;
    }
    return form.answer();
}

GridAnswer QtDialogs::ask(const GridRequest& request) {
    TfmStrGr form(topModalOr(m_parent), request.fixedRows, request.fixedColumns,
                  request.baseHeight);
    form.setRequest(request, m_session.LanguageFlag);
    form.exec();
    return form.answer();  // GridCancelled set by Cancel
}

AlternAnswer QtDialogs::ask(const AlternRequest& request) {
    TfmAltern& form = keptForm(m_state->altern, m_parent);
    form.setRequest(request);
    form.exec();
    return form.answer();
}

MethodAnswer QtDialogs::ask(const MethodRequest& request) {
    TForm1 form(topModalOr(m_parent));
    form.setRequest(request, m_session.LanguageFlag);
    form.exec();
    return form.answer();
}

CheckListAnswer QtDialogs::ask(const CheckListRequest& request) {
    TfmCheckListBox& form = keptForm(m_state->checkList, m_parent);
    form.setRequest(request, m_session.LanguageFlag);
    form.exec();
    return form.answer();
}

GapCalcAnswer QtDialogs::ask(const GapCalcRequest& request) {
    TfmGapCalc form(topModalOr(m_parent));
    form.setRequest(request, m_session.LanguageFlag);
    form.exec();
    return form.answer();
}

bool QtDialogs::showTechnological(TechnologicalDialogModel& model) {
    TfmHexData& form = keptForm(m_state->technological, m_parent);
    form.setModel(model, m_session.LanguageFlag);
    return form.exec() == QDialog::Accepted;
}

bool QtDialogs::showDesign(DesignDialogModel& model) {
    TfmDesign& form = keptForm(m_state->design, m_parent);
    form.setModel(model, *this, m_session);
    return form.exec() == QDialog::Accepted;
}

const std::optional<ProfileGraphRequest>& QtDialogs::lastProfile() const {
    return m_state->lastProfile;
}

void QtDialogs::setLastProfile(std::optional<ProfileGraphRequest> request) {
    m_state->lastProfile = std::move(request);
}

void QtDialogs::showLastProfile() {
    if (!m_state->lastProfile) return;
    TfmHexGraph& form = keptForm(m_state->graph, m_parent);
    form.setRequest(*m_state->lastProfile, false);
    form.exec();
}

void QtDialogs::showProfileGraph(const ProfileGraphRequest& request) {
    m_state->lastProfile = request;
    if (m_state->graphHidden) return;
    TfmHexGraph& form = keptForm(m_state->graph, m_parent);
    form.setRequest(request, true);
    form.exec();
    if (form.dontShowAgain()) m_state->graphHidden = true;
}

void QtDialogs::setWaitLabel(const std::string& text) {
    QLabel* label = m_state->waitLabel.data();
    if (label == nullptr) return;
    label->setText(qText(text));
    // Painted now: the calculation goes on without returning to the event
    // loop.
    label->repaint();
}

}  // namespace vexamo::desktop
