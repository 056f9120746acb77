#include "ScreenshotRun.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <cstdio>

#include "LanguageDialog.h"
#include "MainWindow.h"
#include "control/Session.h"

namespace vexamo::desktop {

namespace {

// The problem of the pictures, relative to the current folder (the script
// runs from the top of the source tree).
constexpr const char* kExample = "examples/water-water-2pass.dat";

void say(const QString& text) { std::fprintf(stderr, "screenshots: %s\n", qPrintable(text)); }

// Answers every modal dialog that comes up, as a person would for the
// pictures: "En" or "Ru", load the example, confirm both data forms, no to
// the other questions, OK to the boxes; keeps pictures on the way.
class Autopilot : public QObject {
public:
    explicit Autopilot(LanguageFlagType lang, QString example)
        : m_lang(lang), m_example(std::move(example)) {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(15);
    }

    QPixmap technological, graph, about;
    QStringList problems;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            m_pending = nullptr;
            return;
        }
        // Act on the second look, when the dialog has been laid out and painted.
        if (modal != m_pending) {
            m_pending = modal;
            return;
        }
        m_pending = nullptr;
        act(modal);
    }

    static QAbstractButton* button(QWidget* form, const char* name) {
        return form->findChild<QAbstractButton*>(QLatin1String(name));
    }

    void act(QWidget* modal) {
        const QString name = modal->objectName();
        if (name == QLatin1String("Form0")) {
            button(modal, m_lang == kEnglish ? "Button1" : "Button2")->click();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            if (files->acceptMode() == QFileDialog::AcceptOpen) {
                // Typed into the file name field, as a person would.
                if (auto* edit = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    edit->setText(m_example);
                QMetaObject::invokeMethod(files, "accept", Qt::DirectConnection);
            } else {
                files->reject();
            }
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            answer(box);
        } else if (name == QLatin1String("TfmHexData")) {
            technological = modal->grab();
            button(modal, "bitbtOk")->click();
        } else if (name == QLatin1String("TfmDesign")) {
            button(modal, "bitbtOk")->click();
        } else if (name == QLatin1String("fmAbProgr")) {
            about = modal->grab();
            static_cast<QDialog*>(modal)->accept();
        } else if (name == QLatin1String("TfmHexGraph")) {
            // The last graph of the iteration is the one kept.
            graph = modal->grab();
            modal->close();
        } else {
            problems
                << QStringLiteral("unexpected dialog %1 \"%2\"").arg(name, modal->windowTitle());
            static_cast<QDialog*>(modal)->reject();
        }
    }

    void answer(QMessageBox* box) {
        const QString text = box->text();
        if (box->button(QMessageBox::No) != nullptr) {
            // Yes only to loading the problem.
            const bool load = text.startsWith(QLatin1String("Wish to load datas")) ||
                              text.startsWith(QString::fromUtf8("Желаете загрузить данные"));
            box->button(load ? QMessageBox::Yes : QMessageBox::No)->click();
            return;
        }
        if (box->icon() == QMessageBox::Critical) problems << QStringLiteral("error box: ") + text;
        // The pass temperatures of every iteration: once is enough.
        if (QCheckBox* dontShow = box->checkBox()) dontShow->setChecked(true);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    LanguageFlagType m_lang;
    QString m_example;
    QTimer m_timer;
    QWidget* m_pending = nullptr;
};

void waitFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Scrolls the report memo so that the engineering summary after the results
// is in view, its heading as high as needed. False when the report has none.
bool showEngineeringSummary(QPlainTextEdit* memo, LanguageFlagType lang) {
    const QString heading = lang == kEnglish ? QStringLiteral("ENGINEERING SUMMARY")
                                             : QString::fromUtf8("ИНЖЕНЕРНАЯ СВОДКА");
    int line = -1;
    for (QTextBlock block = memo->document()->lastBlock(); block.isValid();
         block = block.previous()) {
        if (block.text().trimmed() == heading) {
            line = block.blockNumber();
            break;
        }
    }
    if (line < 0) return false;
    // The memo scrolls line by line: the end of the report, unless that
    // leaves the heading above the view.
    QScrollBar* bar = memo->verticalScrollBar();
    bar->setValue(bar->maximum());
    if (bar->value() > line) bar->setValue(line);
    return true;
}

bool save(const QPixmap& picture, const QDir& folder, const QString& name) {
    const QString file = folder.filePath(name);
    if (picture.isNull() || !picture.save(file, "PNG")) {
        say(QStringLiteral("could not save %1").arg(file));
        return false;
    }
    say(QStringLiteral("saved %1 (%2 x %3)").arg(file).arg(picture.width()).arg(picture.height()));
    return true;
}

bool picturesIn(LanguageFlagType lang, const QDir& folder) {
    const QString suffix = lang == kEnglish ? QStringLiteral("-en.png") : QStringLiteral("-ru.png");
    const QString example = QFileInfo(QLatin1String(kExample)).absoluteFilePath();
    if (!QFileInfo::exists(example)) {
        say(QStringLiteral("%1 not found; run from the top of the source tree").arg(example));
        return false;
    }
    Autopilot autopilot(lang == kEnglish ? kEnglish : LanguageFlagType{2}, example);

    Session session;
    session.LanguageFlag = LanguageDialog::choose();
    MainWindow window(session);
    window.show();
    window.activateWindow();
    waitFor(200);
    // The pictures show the window at its usual size, whatever the size of
    // the offscreen screen it opened on.
    window.resize(980, 700);

    window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"))->click();
    waitFor(200);

    bool ok = true;
    if (session.Results.produced == false) {
        say(QStringLiteral("the Run ended without results"));
        ok = false;
    }
    auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"));
    if (memo == nullptr || !showEngineeringSummary(memo, session.LanguageFlag)) {
        say(QStringLiteral("the report has no engineering summary"));
        ok = false;
    }
    waitFor(50);
    ok = save(window.grab(), folder, QStringLiteral("main-window") + suffix) && ok;
    ok = save(autopilot.technological, folder, QStringLiteral("technological-data") + suffix) && ok;
    ok = save(autopilot.graph, folder, QStringLiteral("temperature-graph") + suffix) && ok;

    // About, with the table of the built-in substances.
    window.findChild<QAction*>(QStringLiteral("AboutAction"))->trigger();
    ok = save(autopilot.about, folder, QStringLiteral("about") + suffix) && ok;

    for (const QString& problem : autopilot.problems) say(problem);
    ok = autopilot.problems.isEmpty() && ok;
    return ok;
}

}  // namespace

int runScreenshots(const QString& folderName) {
    QDir folder(folderName);
    if (!folder.exists() && !QDir().mkpath(folderName)) {
        say(QStringLiteral("cannot create %1").arg(folderName));
        return 1;
    }
    bool ok = picturesIn(kEnglish, folder);
    ok = picturesIn(kRussian, folder) && ok;
    return ok ? 0 : 1;
}

}  // namespace vexamo::desktop
