// Opening a problem in the desktop: a problem file or a JSON problem, the
// dialog offering both; a JSON problem that cannot be used is reported with
// its field and leaves the problem loaded before as it was.
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "control/ProblemFile.h"
#include "desktop/MainWindow.h"
#include "desktop/forms/JsonProblemOpen.h"
#include "desktop/forms/QtDialogs.h"
#include "problem/RecordCodec.h"
#include "problemjson/ProblemJson.h"
#include "tst_forms_support.h"

using namespace vexamo;
using namespace vexamo::desktop;
using vexamo::desktop::test::BoxCloser;
using vexamo::desktop::test::WhenModal;

namespace {

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString example(const char* name) {
    return QStringLiteral(VEXAMO_SOURCE_DIR "/examples/") + QLatin1String(name);
}

// Chooses `file` in the next file dialog and notes the dialog's filters.
std::unique_ptr<WhenModal<QFileDialog>> choose(const QString& file, QStringList* filters) {
    return std::make_unique<WhenModal<QFileDialog>>([=](QFileDialog* dialog) {
        if (filters) *filters = dialog->nameFilters();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
}

std::vector<std::uint8_t> bytesOf(const ProblemData& problem) { return encodeProblem(problem); }

void openThroughTheMenu(MainWindow& window) {
    window.findChild<QAction*>(QStringLiteral("FileAction"))->trigger();
}

}  // namespace

class ProblemOpenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        QVERIFY(m_dir.isValid());
    }

    void jsonAndProblemFilesOpen_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("language");
        QTest::newRow("json") << example("water-water-2pass.json") << int(kEnglish);
        QTest::newRow("json, Russian") << example("ethanol-water-condenser.json") << 2;
        QTest::newRow("dat") << example("hot-water-kettle.dat") << int(kEnglish);
    }

    void jsonAndProblemFilesOpen() {
        QFETCH(QString, file);
        QFETCH(int, language);
        Session session;
        session.LanguageFlag = LanguageFlagType(language);
        MainWindow window(session);
        QStringList filters;
        BoxCloser boxes(QMessageBox::Ok);
        {
            auto chooser = choose(file, &filters);
            openThroughTheMenu(window);
            QCOMPARE(chooser->seen, 1);
        }
        QCOMPARE(boxes.texts, QStringList());
        // Both kinds together first, then each on its own.
        QVERIFY2(filters.size() == 3 && filters[0].contains(QStringLiteral("*.dat *.json")),
                 qPrintable(filters.join(QLatin1Char('|'))));
        QVERIFY(filters[1].endsWith(QStringLiteral("(*.dat)")));
        QVERIFY(filters[2].endsWith(QStringLiteral("(*.json)")));

        ProblemData expected;
        if (file.endsWith(QStringLiteral(".json")))
            expected = pjson::problemFromJson(readAll(file).toStdString(), session.Data);
        else
            expected = readProblemFile(QFile::encodeName(file).toStdString(),
                                       session.Data.SubstanceTable.size());
        QCOMPARE(bytesOf(session.Problem), bytesOf(expected));
        QCOMPARE(int(session.DataLoaded), 1);
    }

    void jsonThatCannotBeUsedKeepsTheProblem_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("named");  // what the message must name
        QByteArray good = readAll(example("water-water-2pass.json"));
        QByteArray count = good;
        count.replace("\"tube_count\": 40", "\"tube_count\": -5");
        QByteArray substance = good;
        substance.replace("\"components\": [\"comp.2\"]", "\"components\": [\"comp.99\"]");
        QTest::newRow("out of range") << count << "design.tube_count";
        QTest::newRow("unknown substance") << substance << "tube_space.components";
        QTest::newRow("not JSON") << QByteArray("{\"format\": ") << "JSON";
        QTest::newRow("empty") << QByteArray() << "JSON";
    }

    void jsonThatCannotBeUsedKeepsTheProblem() {
        QFETCH(QByteArray, json);
        QFETCH(QString, named);
        const QString file = m_dir.filePath(QStringLiteral("bad.json"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(json);
        }
        Session session;
        session.LanguageFlag = kEnglish;
        session.Problem =
            readProblemFile(QFile::encodeName(example("hot-water-kettle.dat")).toStdString(),
                            session.Data.SubstanceTable.size());
        session.DataLoaded = 1;
        session.TechnoEntered = session.DesignEntered = true;
        const std::vector<std::uint8_t> before = bytesOf(session.Problem);
        MainWindow window(session);
        BoxCloser boxes(QMessageBox::Ok);
        {
            auto chooser = choose(file, nullptr);
            openThroughTheMenu(window);
            QCOMPARE(chooser->seen, 1);
        }
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(boxes.icons.first(), QMessageBox::Critical);
        QVERIFY2(boxes.texts.first().contains(named), qPrintable(boxes.texts.first()));
        QVERIFY2(boxes.texts.first().contains(file), qPrintable(boxes.texts.first()));
        QVERIFY(bytesOf(session.Problem) == before);
        QCOMPARE(int(session.DataLoaded), 1);
        QVERIFY(session.TechnoEntered && session.DesignEntered);
    }

    void theLoaderGetsAProblemFileOfTheJsonData() {
        // What the Run's load offer receives from the port: a problem file it
        // reads as it reads every other.
        Session session;
        session.LanguageFlag = kEnglish;
        QtDialogs dialogs(session, nullptr);
        FileRequest request;
        request.id = kOpenProblemId;
        request.filter = "Datafiles|*.dat";
        request.defaultExtension = "dat";
        const QString file = example("steam-water-heater.json");
        std::optional<std::filesystem::path> chosen;
        {
            auto chooser = choose(file, nullptr);
            chosen = dialogs.openFile(request);
        }
        QVERIFY(chosen.has_value());
        QCOMPARE(chosen->extension().string(), std::string(".dat"));
        const ProblemData loaded = readProblemFile(*chosen, session.Data.SubstanceTable.size());
        QCOMPARE(bytesOf(loaded),
                 bytesOf(pjson::problemFromJson(readAll(file).toStdString(), session.Data)));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(ProblemOpenTest)
#include "tst_problem_open.moc"
