// The technological data form through its widgets: process lists, the
// component lists with the chemicals beside the system names, the flow-rate
// check boxes, and OK with its checks through the desktop port.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "control/DataDialogActions.h"
#include "control/Session.h"
#include "desktop/forms/QtDialogs.h"
#include "desktop/forms/TfmHexData.h"
#include "dialogs/TechnologicalDialog.h"
#include "tst_forms_support.h"

using namespace vexamo;
using namespace vexamo::desktop;

namespace {

QStringList entries(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

// Chooses an entry of a drop-down list with the mouse, as the person does.
void choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QRect cell = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(combo->currentText(), text);
}

void type(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
}

// Row `row` of the component list `list` of `form`, or null when the form
// has no such list or row.
QTreeWidgetItem* findComponent(QWidget* form, const char* list, int row) {
    auto* tree = form->findChild<QTreeWidget*>(list);
    return tree == nullptr ? nullptr : tree->topLevelItem(row);
}

}  // namespace

// `QTreeWidgetItem* const var`: row `row` of the component list `list`; a
// missing list or row fails the test there, as a missing control does.
#define COMPONENT(var, form, list, row)                          \
    QTreeWidgetItem* const var = findComponent(form, list, row); \
    QVERIFY2(var != nullptr,                                     \
             qPrintable(QStringLiteral("no row %1 in %2").arg(row).arg(QString(list))))

class TestTechnologicalForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void textsInBothLanguages_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("selectAll");
        QTest::addColumn<QStringList>("processes");
        QTest::newRow("English") << int(kEnglish)
                                 << "Choice of componental ratio of the heat-transfer medium"
                                 << "Select All"
                                 << QStringList{"condensation", "boiling", "heating", "cooling"};
        QTest::newRow("Russian") << int(kRussian) << "Выбор компонентного состава теплоносителя"
                                 << "Выбр. все"
                                 << QStringList{"конденсация", "кипение", "нагрев", "охлаждение"};
    }
    void textsInBothLanguages() {
        QFETCH(int, language);
        QFETCH(QString, caption);
        QFETCH(QString, selectAll);
        QFETCH(QStringList, processes);
        Session session;
        session.LanguageFlag = static_cast<LanguageFlagType>(language);
        TechnologicalDialogModel& model = session.TechnoDialog;
        prepareTechnological(model, session);
        model.FormActivate(session.LanguageFlag);
        TfmHexData form;
        form.setModel(model, session.LanguageFlag);

        QCOMPARE(form.windowTitle(), caption);
        for (const QString& suffix : {QStringLiteral("1"), QStringLiteral("2")}) {
            QWidget* half = &form;
            CONTROL(QPushButton, selAll, half, QStringLiteral("bitbtSelAll") + suffix);
            CONTROL(QPushButton, anSelAll, half, QStringLiteral("bitbtAnSelAll") + suffix);
            CONTROL(QPushButton, pross, half, QStringLiteral("bitbtPross") + suffix);
            CONTROL(QCheckBox, consump, half, QStringLiteral("chbConsump") + suffix);
            CONTROL(QComboBox, process, half, QStringLiteral("cbProcess") + suffix);
            CONTROL(QTreeWidget, list, half, QStringLiteral("clQualRatio") + suffix);
            QCOMPARE(selAll->text(), selectAll);
            QCOMPARE(anSelAll->text(), QString("AnSelect All"));
            QCOMPARE(pross->text(), QString("Delete"));
            QCOMPARE(consump->text(), QString("Set Consumption"));
            QCOMPARE(entries(process), processes);
            QVERIFY(process->isEditable());
            QCOMPARE(list->toolTip(), QString("Quality ratio of the heat-transfer medium"));
            QCOMPARE(list->topLevelItemCount(),
                     static_cast<int>(session.Data.SubstanceTable.size()));
            QCOMPARE(list->topLevelItem(0)->checkState(0), Qt::Unchecked);
        }
        CONTROL(QPushButton, ok, &form, "bitbtOk");
        QCOMPARE(ok->text(), QString("OK"));
    }

    // Beside each built-in system name its chemical, in a second column and
    // as the hint of the row, in the language of the showing; the system
    // names themselves stay. The same form shown again in the other language
    // says it in that one.
    void componentListsNameTheChemicals() {
        Session session;
        TechnologicalDialogModel& model = session.TechnoDialog;
        TfmHexData form;
        struct Expected {
            LanguageFlagType language;
            QStringList headers;
            QString water, ethylAcetate;
            QString systemName;
        };
        const Expected languages[] = {
            {kEnglish,
             {"Component", "Substance"},
             "water (H2O, CAS 7732-18-5)",
             "ethyl acetate (C4H8O2, CAS 141-78-6)",
             "comp.2"},
            {kRussian,
             {"Компонент", "Вещество"},
             "вода (H2O, CAS 7732-18-5)",
             "этилацетат (C4H8O2, CAS 141-78-6)",
             "комп.2"},
        };
        for (const Expected& expected : languages) {
            session.LanguageFlag = expected.language;
            prepareTechnological(model, session);
            model.FormActivate(session.LanguageFlag);
            form.setModel(model, session.LanguageFlag);
            for (const char* list : {"clQualRatio1", "clQualRatio2"}) {
                CONTROL(QTreeWidget, tree, &form, list);
                QCOMPARE(tree->columnCount(), 2);
                QCOMPARE(tree->headerItem()->text(0), expected.headers[0]);
                QCOMPARE(tree->headerItem()->text(1), expected.headers[1]);
                COMPONENT(water, &form, list, 1);
                QCOMPARE(water->text(0), expected.systemName);
                QCOMPARE(water->text(1), expected.water);
                QCOMPARE(water->toolTip(0), expected.water);
                QCOMPARE(water->toolTip(1), expected.water);
                COMPONENT(ethylAcetate, &form, list, 3);
                QCOMPARE(ethylAcetate->text(1), expected.ethylAcetate);
            }
        }
        COMPONENT(ethanol, &form, "clQualRatio1", 0);
        QVERIFY(ethanol->text(1).startsWith(QString("этанол (C2H6O")));

        // A record that no longer carries its built-in name is not the
        // built-in chemical, nor is a built-in name in another row.
        Session renamed;
        renamed.Data.SubstanceTable[1].EnglishName = "brine";
        renamed.Data.SubstanceTable[2].EnglishName = "comp.2";
        prepareTechnological(renamed.TechnoDialog, renamed);
        renamed.TechnoDialog.FormActivate(renamed.LanguageFlag);
        form.setModel(renamed.TechnoDialog, renamed.LanguageFlag);
        COMPONENT(brine, &form, "clQualRatio1", 1);
        COMPONENT(renamedBuiltIn, &form, "clQualRatio1", 2);
        COMPONENT(ethylAcetate, &form, "clQualRatio1", 3);
        QCOMPARE(brine->text(0), QString("brine"));
        QVERIFY(brine->text(1).isEmpty());
        QVERIFY(brine->toolTip(0).isEmpty());
        QVERIFY(renamedBuiltIn->text(1).isEmpty());
        QCOMPARE(ethylAcetate->text(1), QString("ethyl acetate (C4H8O2, CAS 141-78-6)"));
    }

    // Choosing a process reduces the other side's list to its partners and
    // disables one edit of this side; Delete gives both lists all four.
    void processChoiceReducesTheOtherList() {
        Session session;
        TechnologicalDialogModel& model = session.TechnoDialog;
        prepareTechnological(model, session);
        model.FormActivate(session.LanguageFlag);
        TfmHexData form;
        form.setModel(model, session.LanguageFlag);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CONTROL(QComboBox, left, &form, "cbProcess1");
        CONTROL(QComboBox, right, &form, "cbProcess2");
        CONTROL(QLineEdit, edTemp1, &form, "edTemp1");
        CONTROL(QLineEdit, edPress1, &form, "edPress1");
        CONTROL(QLineEdit, edTemp2, &form, "edTemp2");
        CONTROL(QLineEdit, edPress2, &form, "edPress2");
        CONTROL(QPushButton, bitbtPross2, &form, "bitbtPross2");
        CONTROL(QPushButton, bitbtSelAll2, &form, "bitbtSelAll2");

        choose(left, "heating");
        QCOMPARE(entries(right), (QStringList{"condensation", "cooling"}));
        QCOMPARE(entries(left).size(), 4);
        QVERIFY(edTemp1->isEnabled());
        QVERIFY(!edPress1->isEnabled());

        choose(right, "condensation");
        QCOMPARE(entries(left), (QStringList{"boiling", "heating"}));
        QCOMPARE(left->currentText(), QString("heating"));
        QVERIFY(!edTemp2->isEnabled());
        QVERIFY(edPress2->isEnabled());

        choose(left, "boiling");  // from the reduced list: the right one starts from all four again
        QCOMPARE(entries(right), (QStringList{"condensation", "cooling"}));
        QVERIFY(!edTemp1->isEnabled());
        QVERIFY(edPress1->isEnabled());

        bitbtPross2->click();
        QCOMPARE(entries(left).size(), 4);
        QCOMPARE(entries(right).size(), 4);
        // What was typed is kept when the widgets are read back from the model.
        CONTROL(QLineEdit, flow, &form, "edConsum1");
        type(flow, "1000");
        bitbtSelAll2->click();
        COMPONENT(selected, &form, "clQualRatio2", 3);
        QCOMPARE(selected->checkState(0), Qt::Checked);
        QCOMPARE(flow->text(), QString("1000"));
        form.reject();
    }

    // Exactly one flow-rate edit is enabled, whichever box is clicked, also
    // when the form opens on data whose tube-side flow rate is zero.
    void consumptionCheckBoxesKeepOneFlowEdit() {
        Session session;
        TechnologicalDialogModel& model = session.TechnoDialog;
        prepareTechnological(model, session);
        model.FormActivate(session.LanguageFlag);
        TfmHexData form;
        form.setModel(model, session.LanguageFlag);
        form.show();
        CONTROL(QCheckBox, check1, &form, "chbConsump1");
        CONTROL(QCheckBox, check2, &form, "chbConsump2");
        CONTROL(QLineEdit, flow1, &form, "edConsum1");
        CONTROL(QLineEdit, flow2, &form, "edConsum2");
        auto oneEnabled = [&](bool left) {
            return check1->isChecked() == left && check2->isChecked() == !left &&
                   flow1->isEnabled() == left && flow2->isEnabled() == !left;
        };
        QVERIFY(oneEnabled(true));
        check1->click();
        QVERIFY(oneEnabled(false));
        check2->click();
        QVERIFY(oneEnabled(true));
        check2->click();
        QVERIFY(oneEnabled(false));
        check1->click();
        QVERIFY(oneEnabled(true));
        form.reject();

        session.DataLoaded = 1;
        TechnSet& tube = session.Problem.TubeStream;
        TechnSet& shell = session.Problem.ShellStream;
        tube.ProcessCode = 2;
        tube.GivenState = 't';
        tube.Temperature = 20;
        tube.FlowRate = 0;
        tube.ComponentCount = 1;
        shell.ProcessCode = 3;
        shell.GivenState = 't';
        shell.Temperature = 90;
        shell.FlowRate = 2500;
        shell.ComponentCount = 1;
        shell.ComponentIndex[0] = 1;
        prepareTechnological(model, session);
        model.FormActivate(session.LanguageFlag);
        form.setModel(model, session.LanguageFlag);
        QVERIFY(oneEnabled(false));
        QCOMPARE(flow2->text(), QString("2500"));
        CONTROL(QLineEdit, edTemp2, &form, "edTemp2");
        CONTROL(QLineEdit, edPress2, &form, "edPress2");
        CONTROL(QComboBox, cbProcess1, &form, "cbProcess1");
        COMPONENT(water, &form, "clQualRatio2", 1);
        QCOMPARE(edTemp2->text(), QString(" 90.00"));
        QVERIFY(!edPress2->isEnabled());
        QCOMPARE(cbProcess1->currentText(), QString("heating"));
        QCOMPARE(water->checkState(0), Qt::Checked);
    }

    // OK refuses with the check's message and keeps the form open, the focus
    // on the offending edit; accepted values reach the streams.
    void okChecksThroughThePort() {
        Session session;
        QtDialogs dialogs(session, nullptr);
        bool driven = false;
        test::WhenModal<TfmHexData> driver([&](TfmHexData* form) {
            drive(form);
            driven = true;
            if (form->isVisible()) form->reject();
        });
        const bool taken = TechnoActionExecute(session, dialogs);
        QVERIFY(driven);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(taken);
        QCOMPARE(session.Problem.TubeStream.ProcessCode, std::uint8_t(2));
        QCOMPARE(session.Problem.ShellStream.ProcessCode, std::uint8_t(3));
        QCOMPARE(double(session.Problem.TubeStream.FlowRate), 1000.0);
        QCOMPARE(double(session.Problem.ShellStream.FlowRate), 0.0);
        QCOMPARE(double(session.Problem.ShellStream.Temperature), 90.0);
        QCOMPARE(session.Problem.ShellStream.ComponentCount, std::uint16_t(1));
        QCOMPARE(session.Problem.ShellStream.ComponentIndex[0], std::uint16_t(2));
        QCOMPARE(session.PairCode, pairCode(2, 3));
    }

private:
    void drive(TfmHexData* form) {
        CONTROL(QPushButton, ok, form, "bitbtOk");
        CONTROL(QComboBox, cbProcess1, form, "cbProcess1");
        CONTROL(QComboBox, cbProcess2, form, "cbProcess2");
        CONTROL(QLineEdit, edConsum1, form, "edConsum1");
        CONTROL(QLineEdit, edTemp1, form, "edTemp1");
        CONTROL(QLineEdit, temperature2, form, "edTemp2");
        {
            test::BoxCloser boxes;
            QTest::mouseClick(ok, Qt::LeftButton);
            QCOMPARE(
                boxes.texts,
                QStringList{
                    "Choose even on one component of composition for each heat-transfer medium"});
            QCOMPARE(boxes.icons.front(), QMessageBox::Warning);
            QVERIFY(form->isVisible());
        }
        COMPONENT(firstMedium, form, "clQualRatio1", 0);
        COMPONENT(secondMedium, form, "clQualRatio2", 2);
        firstMedium->setCheckState(0, Qt::Checked);
        secondMedium->setCheckState(0, Qt::Checked);
        choose(cbProcess1, "heating");
        choose(cbProcess2, "cooling");
        type(edConsum1, "1000");
        type(edTemp1, "20");
        type(temperature2, "9O");
        {
            test::BoxCloser boxes;
            QTest::mouseClick(ok, Qt::LeftButton);
            QCOMPARE(boxes.texts, QStringList{"Error of number entry 9O"});
            QVERIFY(form->isVisible());
            QCOMPARE(form->focusWidget(), temperature2);
            QCOMPARE(temperature2->selectedText(), QString("9O"));
        }
        type(temperature2, "90");
        test::BoxCloser boxes;
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(boxes.texts.isEmpty());
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestTechnologicalForm)
#include "tst_forms_technological.moc"
