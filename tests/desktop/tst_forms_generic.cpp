// The generic dialogs and the design form through their widgets and the
// desktop port: grid layout and cell checks, TfmInput, TfmAltern,
// TfmGapCalc, the design form, message boxes (also those repeated during a
// Run), the file dialogs, and the chemicals hinted at beside the system names
// of the check list and the grid.
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "control/DataDialogActions.h"
#include "control/Session.h"
#include "desktop/forms/FormSupport.h"
#include "desktop/forms/QtDialogs.h"
#include "desktop/forms/TfmAltern.h"
#include "desktop/forms/TfmCheckListBox.h"
#include "desktop/forms/TfmDesign.h"
#include "desktop/forms/TfmGapCalc.h"
#include "desktop/forms/TfmInput.h"
#include "desktop/forms/TfmStrGr.h"
#include "dialogs/DesignDialog.h"
#include "tst_forms_support.h"

using namespace vexamo;
using namespace vexamo::desktop;

namespace {

GridRequest gridRequest(int columns, int rows, int fixedRows) {
    GridRequest request;
    request.id = "test.grid";
    request.caption = "Data entry for calculation of equilibrium";
    request.label = "Enter concentrations\r\n(% of mass)";
    request.columns = columns;
    request.rows = rows;
    request.fixedRows = fixedRows;
    request.fixedColumns = 1;
    request.baseHeight = 219;
    request.cells.assign(static_cast<std::size_t>(columns),
                         std::vector<std::string>(static_cast<std::size_t>(rows)));
    for (int c = 1; c < columns; ++c)
        request.cells[static_cast<std::size_t>(c)][0] = "comp." + std::to_string(c);
    request.integerColumns.assign(static_cast<std::size_t>(columns), false);
    return request;
}

void choose(QComboBox* combo, int index) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(index, 0)).center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(combo->currentIndex(), index);
}

void type(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
}

}  // namespace

class TestGenericForms : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Size, visible rows and scroll bars follow the row and column counts,
    // measured in the grid's default row height and column width.
    void gridLayout_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("fixedRows");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("6 x 8: five rows, both scroll bars") << 6 << 8 << 1 << true << true;
        QTest::newRow("3 x 3: all rows, no scroll bar") << 3 << 3 << 2 << false << false;
        QTest::newRow("4 x 6: vertical only") << 4 << 6 << 1 << true << false;
        QTest::newRow("5 x 5: horizontal only") << 5 << 5 << 1 << false << true;
    }
    void gridLayout() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, fixedRows);
        QFETCH(bool, vertical);
        QFETCH(bool, horizontal);
        TfmStrGr form(nullptr, fixedRows, 1, 219);
        form.setRequest(gridRequest(columns, rows, fixedRows), kEnglish);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CONTROL(QTableWidget, grid, &form, "sgInput");
        const int h = grid->verticalHeader()->defaultSectionSize();
        const int w = grid->horizontalHeader()->defaultSectionSize();
        const int w0 = grid->columnWidth(0);

        const int visibleRows = rows > 5 ? 5 : rows;
        QCOMPARE(form.height(), 219 + (visibleRows - fixedRows - 1) * h);
        const int width = columns > 4 ? w0 + 3 * w + 4 : w0 + (columns - 1) * (w + 1) + 1;
        int height = rows > 5 ? 5 * h + 5 : rows * (h + 1);
        if (columns > 4) height = rows > 5 ? 6 * h + 6 : (rows + 1) * (h + 1);
        QCOMPARE(grid->size(), QSize(width, height));
        QCOMPARE(grid->verticalScrollBar()->isVisible(), vertical);
        QCOMPARE(grid->horizontalScrollBar()->isVisible(), horizontal);
        if (rows > 5) {  // five whole rows in view, not six
            const int view = grid->viewport()->height();
            QVERIFY2(view >= 5 * h && view < 6 * h, qPrintable(QString::number(view)));
        }

        QCOMPARE(form.windowTitle(), QString("Data entry for calculation of equilibrium"));
        CONTROL(QLabel, lbStGr, &form, "lbStGr");
        QCOMPARE(lbStGr->text(), QString("Enter concentrations\n(% of mass)"));
        QCOMPARE(grid->item(0, 1)->text(), QString("comp.1"));
        QVERIFY(!(grid->item(0, 1)->flags() & Qt::ItemIsEditable));          // fixed row
        QVERIFY(!(grid->item(fixedRows, 0)->flags() & Qt::ItemIsEditable));  // fixed column
        QVERIFY(grid->item(fixedRows, 1)->flags() & Qt::ItemIsEditable);
    }

    // Every change typed into a cell is checked at once; OK stops silently at
    // an empty cell and refuses a cell that is not a number, emptying it.
    void gridCellsAreChecked() {
        TfmStrGr form(nullptr, 2, 1, 219);
        form.setRequest(gridRequest(3, 3, 2), kEnglish);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CONTROL(QTableWidget, grid, &form, "sgInput");
        CONTROL(QPushButton, ok, &form, "btbtnOk");
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(grid->currentColumn(), 1);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY2(editor != nullptr, "the cell editor is shown");
        {
            test::BoxCloser boxes;
            QTest::keyClicks(editor, "1e");
            QTRY_COMPARE(boxes.texts, QStringList{"Wrong symbol at input of number 1e"});
            QCOMPARE(boxes.icons.front(), QMessageBox::Critical);
            QVERIFY(form.isVisible());
        }
        grid->item(2, 2)->setText("35");
        {
            test::BoxCloser boxes;
            QTest::mouseClick(ok, Qt::LeftButton);
            QCOMPARE(boxes.texts, QStringList{"Error of number entry 1e"});
            QCOMPARE(grid->item(2, 1)->text(), QString());
            QCOMPARE(grid->currentColumn(), 1);
        }
        {
            test::BoxCloser boxes;
            QTest::mouseClick(ok, Qt::LeftButton);  // the emptied cell: nothing said
            QVERIFY(boxes.texts.isEmpty());
            QVERIFY(form.isVisible());
        }
        grid->item(2, 1)->setText("40");
        QTest::mouseClick(ok, Qt::LeftButton);
        QTRY_VERIFY(!form.isVisible());
        QVERIFY(!form.answer().cancelled);
        QCOMPARE(double(form.answer().reals[1][2]), 40.0);
        QCOMPARE(double(form.answer().reals[2][2]), 35.0);
    }

    // "Default" confirmed gives the value kind 2 and no value; a wrong
    // number is refused with the caller's prefix, the edit focused; Cancel.
    void inputForm() {
        Session session;
        QtDialogs dialogs(session, nullptr);
        InputRequest request;
        request.id = "test.input";
        request.caption = "Input of the data";
        request.prompt = "Initial approximation\r\nValue by default: 55 deg.C";
        request.unit = " deg.C";
        request.errorPrefix = "Erroneous record of number: ";
        request.initialText = "Default";
        request.kind = InputKind::Real;

        test::WhenModal<TfmInput> driver([](TfmInput* form) {
            [&] {
                QCOMPARE(form->windowTitle(), QString("Input of the data"));
                CONTROL(QLabel, lbInput1, form, "lbInput1");
                CONTROL(QLabel, lbInput2, form, "lbInput2");
                CONTROL(QLineEdit, edit, form, "edInput");
                CONTROL(QPushButton, ok, form, "btInput");
                QCOMPARE(lbInput1->text(),
                         QString("Initial approximation\nValue by default: 55 deg.C"));
                QCOMPARE(lbInput2->text(), QString(" deg.C"));
                QCOMPARE(edit->text(), QString("Default"));
                type(edit, "12,5");
                test::BoxCloser boxes;
                QTest::mouseClick(ok, Qt::LeftButton);
                QCOMPARE(boxes.texts, QStringList{"Erroneous record of number: 12,5"});
                QCOMPARE(boxes.icons.front(), QMessageBox::Warning);
                QCOMPARE(form->focusWidget(), edit);
                QCOMPARE(edit->selectedText(), QString("12,5"));
                edit->clear();
                QTest::mouseClick(ok, Qt::LeftButton);  // empty: nothing happens
                QVERIFY(form->isVisible());
                QCOMPARE(boxes.texts.size(), 1);
                type(edit, "Default");
                QTest::mouseClick(ok, Qt::LeftButton);
            }();
            if (form->isVisible()) form->reject();
        });
        InputAnswer answer = dialogs.ask(request);
        QCOMPARE(driver.seen, 1);
        QVERIFY(!answer.cancelled);
        QVERIFY(answer.isDefault);
        QCOMPARE(double(answer.real), 0.0);

        test::WhenModal<TfmInput> canceller([](TfmInput* form) {
            CONTROL(QPushButton, cancel, form, "BitBtCancel");
            cancel->click();
        });
        answer = dialogs.ask(request);
        QCOMPARE(canceller.seen, 1);
        QVERIFY(answer.cancelled);
    }

    // Three alternatives with the check boxes, then two without: the boxes
    // follow the letter rule and are hidden again when the window closes.
    void alternatives() {
        Session session;
        QtDialogs dialogs(session, nullptr);
        AlternRequest request;
        request.id = "test.altern";
        request.caption = "Choice of variant";
        request.question = "Experimental data are absent.\r\nChoose";
        request.groupCaption = "variants";
        request.alternatives = {"first", "second", "third"};
        request.showCheckBoxes = true;
        request.checkBox1 = "smooth";
        request.checkBox2 = "rough";
        TfmAltern* shown = nullptr;
        test::WhenModal<TfmAltern> driver([&](TfmAltern* form) {
            shown = form;
            [&] {
                QCOMPARE(form->windowTitle(), QString("Choice of variant"));
                CONTROL(QLabel, label, form, "Label1");
                CONTROL(QGroupBox, group, form, "RadioGroup1");
                QCOMPARE(label->text(), QString("Experimental data are absent.\nChoose"));
                QCOMPARE(group->title(), QString("variants"));
                const auto items = group->findChildren<QRadioButton*>();
                QCOMPARE(items.size(), 3);
                QVERIFY(items[0]->isChecked());
                CONTROL(QCheckBox, check1, form, "chbAltern1");
                CONTROL(QCheckBox, check2, form, "chbAltern2");
                QVERIFY(check1->isVisible() && check1->isChecked());
                QVERIFY(check2->isVisible() && !check2->isChecked());
                QCOMPARE(check2->text(), QString("rough"));
                check1->click();
                QVERIFY(!check1->isChecked() && check2->isChecked());
                items[2]->click();
                CONTROL(QPushButton, ok, form, "BitBtn1");
                QCOMPARE(ok->text(), QString("Checked"));
                ok->click();
            }();
        });
        AlternAnswer answer = dialogs.ask(request);
        QCOMPARE(driver.seen, 1);
        QCOMPARE(answer.index, 2);
        QCOMPARE(answer.letter, 'x');
        QVERIFY(shown != nullptr);
        CONTROL(QCheckBox, check1, shown, "chbAltern1");
        CONTROL(QCheckBox, check2, shown, "chbAltern2");
        QVERIFY(check1->isHidden());
        QVERIFY(check2->isHidden());

        request.alternatives = {"to check up the initial data", "to correct a constant"};
        request.showCheckBoxes = false;
        test::WhenModal<TfmAltern> second([&](TfmAltern* form) {
            [&] {
                CONTROL(QGroupBox, group, form, "RadioGroup1");
                CONTROL(QCheckBox, check1, form, "chbAltern1");
                CONTROL(QPushButton, ok, form, "BitBtn1");
                QCOMPARE(group->findChildren<QRadioButton*>().size(), 2);
                QVERIFY(!check1->isVisible());
                ok->click();
            }();
        });
        answer = dialogs.ask(request);
        QCOMPARE(second.seen, 1);
        QCOMPARE(answer.index, 0);
        QCOMPARE(answer.letter, 'y');
    }

    // Head type 4 disables the sealing strips; a click into the gap edit
    // selects its text and greys the diminished / enlarged choice.
    void shellLossForm() {
        TfmGapCalc form;
        GapCalcRequest request;
        request.tubeDiameter = 0.025L;
        request.baffleSpacing = 3;
        form.setRequest(request, kRussian);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QString("Ввод дополнительных данных"));
        CONTROL(QLabel, lbComment, &form, "lbComment");
        QCOMPARE(lbComment->text(),
                 QString("Введите дополнительные данные для расчета\nпотерь давления в межтрубном "
                         "пространстве"));
        CONTROL(QComboBox, heads, &form, "cbAddDate");
        CONTROL(QComboBox, strips, &form, "ComboBox1");
        QCOMPARE(heads->count(), 4);
        QCOMPARE(heads->currentIndex(), -1);
        choose(heads, 1);
        QVERIFY(strips->isEnabled());
        choose(heads, 3);
        QVERIFY(!strips->isEnabled());

        CONTROL(QLineEdit, gap, &form, "edGap");
        CONTROL(QGroupBox, gapSize, &form, "RadioGroup1");
        QVERIFY(gapSize->isEnabled());
        QTest::mouseClick(gap, Qt::LeftButton);
        QTRY_COMPARE(gap->selectedText(), QString("Default"));
        QVERIFY(!gapSize->isEnabled());

        CONTROL(QPushButton, ok, &form, "BitbtOk");
        QTest::mouseClick(ok, Qt::LeftButton);
        QTRY_VERIFY(!form.isVisible());
        QCOMPARE(form.result().headType, 4);
        QCOMPARE(form.result().sealingStrips, 0);
        QCOMPARE(double(form.result().pitch), double(1.4L * 0.025L));
    }

    // A field is shown only when its medium is single-phase; a hidden field's
    // label is hidden and empty.
    void designVisibility_data() {
        QTest::addColumn<bool>("tubeSingle");
        QTest::addColumn<bool>("shellSingle");
        QTest::newRow("both media change phase") << false << false;
        QTest::newRow("both single-phase") << true << true;
        QTest::newRow("tube side single-phase") << true << false;
    }
    void designVisibility() {
        QFETCH(bool, tubeSingle);
        QFETCH(bool, shellSingle);
        Session session;
        session.Problem.TubeStream.SinglePhase = tubeSingle ? 1 : 0;
        session.Problem.ShellStream.SinglePhase = shellSingle ? 1 : 0;
        QtDialogs dialogs(session, nullptr);
        DesignDialogModel& model = session.DesignDialog;
        prepareDesign(model, session);
        model.FormActivate(session.LanguageFlag);
        TfmDesign form;
        form.setModel(model, dialogs, session);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QString("Characteristics of a heat exchanger"));
        CONTROL(QComboBox, cbTrumpsp, &form, "cbTrumpsp");
        CONTROL(QLabel, lbTrumpsp, &form, "lbTrumpsp");
        CONTROL(QLineEdit, edCasing, &form, "edCasing");
        CONTROL(QLabel, lbCasing, &form, "lbCasing");
        CONTROL(QLabel, lbPipeNmb, &form, "lbPipeNmb");
        CONTROL(QComboBox, cbParall, &form, "cbParall");
        CONTROL(QComboBox, cbMaterial, &form, "cbMaterial");
        QCOMPARE(cbTrumpsp->isVisible(), tubeSingle);
        QCOMPARE(lbTrumpsp->isVisible(), tubeSingle);
        QCOMPARE(lbTrumpsp->text(),
                 tubeSingle ? QString("numb. of courses in trump. space") : QString());
        QCOMPARE(edCasing->isVisible(), shellSingle);
        QCOMPARE(lbCasing->isVisible(), shellSingle);
        QCOMPARE(lbPipeNmb->text(), QString("number of pipes"));
        CONTROL(QLineEdit, edFoulShell, &form, "edFoulShell");
        CONTROL(QLabel, lbFoulShell, &form, "lbFoulShell");
        QCOMPARE(lbFoulShell->text(), QString("fouling resist. in intertr. space, m2*K/W"));
        QCOMPARE(edFoulShell->text(), QString("0.0000862069"));
        form.setModel(model, dialogs, session);  // shown again: lists not doubled
        QCOMPARE(cbParall->count(), 4);
        QCOMPARE(cbMaterial->count(), 5);
        form.reject();
    }

    // A material typed into the list asks its conductivity through the port
    // and is kept under its typed name.
    void designTypedMaterial() {
        Session session;
        session.Problem.TubeStream.SinglePhase = 1;
        session.Problem.ShellStream.SinglePhase = 0;
        QtDialogs dialogs(session, nullptr);
        int asked = 0;
        test::WhenModal<TfmDesign> driver([&](TfmDesign* form) {
            [&] {
                for (const auto& [name, text] :
                     {std::pair{"edPipeNmb", "100"}, std::pair{"edPipeL", "6"},
                      std::pair{"edPipeDex", "0.025"}, std::pair{"edPipeDin", "0.021"},
                      std::pair{"edIntTrumpsp", "2"}, std::pair{"edRowNmb", "10"},
                      std::pair{"edFoulTube", "0.0003"}}) {
                    CONTROL(QLineEdit, edit, form, name);
                    type(edit, text);
                }
                CONTROL(QComboBox, passes, form, "cbTrumpsp");
                CONTROL(QComboBox, cbParall, form, "cbParall");
                CONTROL(QComboBox, cbPipeArrang, form, "cbPipeArrang");
                CONTROL(QComboBox, cbWispArrang, form, "cbWispArrang");
                CONTROL(QPushButton, ok, form, "bitbtOk");
                QVERIFY(passes->isEditable());
                passes->setCurrentIndex(1);
                cbParall->setCurrentIndex(0);
                cbPipeArrang->setCurrentIndex(0);
                cbWispArrang->setCurrentIndex(1);
                CONTROL(QComboBox, material, form, "cbMaterial");
                QVERIFY(material->isEditable());
                type(material->lineEdit(), "Titanium");
                test::WhenModal<TfmInput> conductivity([&](TfmInput* input) {
                    ++asked;
                    [&] {
                        CONTROL(QLabel, lbInput2, input, "lbInput2");
                        CONTROL(QLineEdit, edInput, input, "edInput");
                        CONTROL(QPushButton, btInput, input, "btInput");
                        QCOMPARE(input->windowTitle(), QString("Input of the initial data"));
                        QCOMPARE(lbInput2->text(), QString(" Watt/(m*K)"));
                        type(edInput, "21.9");
                        btInput->click();
                    }();
                });
                QTest::mouseClick(ok, Qt::LeftButton);
            }();
            if (form->isVisible()) form->reject();
        });
        QVERIFY(DesignActionExecute(session, dialogs));
        QCOMPARE(driver.seen, 1);
        QCOMPARE(asked, 1);
        const DesignRecord& design = session.Problem.Design;
        QCOMPARE(design.MaterialIndex, std::uint8_t(0));
        QCOMPARE(QString::fromStdString(design.MaterialName), QString("Titanium"));
        QCOMPARE(double(session.DesignDialog.conductivity), 21.9);
        QCOMPARE(design.TubePasses, std::uint8_t(2));
        QCOMPARE(design.StaggeredTubes, std::uint8_t(1));
        QCOMPARE(design.HorizontalBundle, std::uint8_t(0));
        // the fouling typed on the tube side, the default kept on the other
        QVERIFY(design.TubeFouling == 0.0003L);
        QVERIFY(design.ShellFouling == kDefaultSideFouling);
        QVERIFY(design.WallResistance ==
                wallResistance(0.025L, 0.021L, 21.9L, 0.0003L, kDefaultSideFouling));
    }

    // Kinds of message and their icons; Yes and Retry are the true answers.
    void messageBoxes() {
        Session session;
        QtDialogs dialogs(session, nullptr);
        {
            test::BoxCloser boxes;
            dialogs.message({"test.info", MessageKind::Information, "line 1\r\nline 2"});
            dialogs.message({"test.warning", MessageKind::Warning, "w"});
            dialogs.message({"test.error", MessageKind::Error, "e"});
            QCOMPARE(boxes.texts, (QStringList{"line 1\nline 2", "w", "e"}));
            QCOMPARE(boxes.icons,
                     (QList<QMessageBox::Icon>{QMessageBox::Information, QMessageBox::Warning,
                                               QMessageBox::Critical}));
        }
        {
            test::BoxCloser yes(QMessageBox::Yes);
            QVERIFY(dialogs.confirm({"test.confirm", "Wish to load datas ?", false}));
            QCOMPARE(yes.icons, QList<QMessageBox::Icon>{QMessageBox::Question});
        }
        {
            test::BoxCloser no(QMessageBox::No);
            QVERIFY(!dialogs.confirm({"test.confirm", "Wish to load datas ?", true}));
        }
        {
            test::BoxCloser retry(QMessageBox::Retry);
            QVERIFY(dialogs.abortRetry({"test.retry", "Too slow convergence", false}));
            QCOMPARE(retry.texts.size(), 1);
        }
        {
            test::BoxCloser abort(QMessageBox::Abort);
            QVERIFY(!dialogs.abortRetry({"test.retry", "Too slow convergence", true}));
        }
    }

    // The box of every iteration offers not to be shown again during the
    // Run; every other message is always shown.
    void repeatedBoxesOfARun() {
        Session session;
        session.LanguageFlag = kRussian;
        QtDialogs dialogs(session, nullptr);
        const MessageRequest pass{"heatcool.pass_temperatures", MessageKind::Warning,
                                  " Art[1] = 35"};
        const MessageRequest last{"heatcool.pass_temperatures_final", MessageKind::Warning,
                                  " Art[1] = 36"};
        {
            test::BoxCloser boxes;
            dialogs.message(pass);
            dialogs.message(pass);
            QCOMPARE(boxes.texts, (QStringList{" Art[1] = 35", " Art[1] = 35"}));
            QCOMPARE(boxes.checkBoxes.front(), QString("Больше не показывать в этом расчете"));
        }
        {
            test::BoxCloser boxes(QMessageBox::Ok, true);
            dialogs.message(pass);
            QCOMPARE(boxes.texts.size(), 1);
        }
        {
            test::BoxCloser boxes;
            dialogs.message(pass);
            dialogs.message(last);
            dialogs.message(last);
            QCOMPARE(boxes.texts, (QStringList{" Art[1] = 36", " Art[1] = 36"}));
            QCOMPARE(boxes.checkBoxes, (QStringList{QString(), QString()}));
            dialogs.beginRun();
            dialogs.message(pass);
            QCOMPARE(boxes.texts.size(), 3);
        }
    }

    // A built-in system name in the check list of components or in a fixed
    // cell of the grid has its chemical as the hint; other names have none,
    // and the answers are read by row as before.
    void systemNamesHintTheirChemical() {
        TfmCheckListBox list;
        CheckListRequest request;
        request.id = "test.check_list";
        request.items = {"комп.2", "brine", "comp.9", "comp.4"};
        list.setRequest(request, kRussian);
        CONTROL(QListWidget, items, &list, "ChLiBoxVLE");
        QCOMPARE(items->item(0)->text(), QString("комп.2"));
        QCOMPARE(items->item(0)->toolTip(), QString("вода (H2O, CAS 7732-18-5)"));
        QVERIFY(items->item(1)->toolTip().isEmpty());
        QVERIFY(items->item(2)->toolTip().isEmpty());
        QCOMPARE(items->item(3)->toolTip(), QString("этилацетат (C4H8O2, CAS 141-78-6)"));
        items->item(3)->setCheckState(Qt::Checked);
        QCOMPARE(list.answer().checked, (std::vector<bool>{false, false, false, true}));

        TfmStrGr grid(nullptr, 1, 1, 219);
        grid.setRequest(gridRequest(3, 4, 1), kEnglish);
        CONTROL(QTableWidget, cells, &grid, "sgInput");
        QCOMPARE(cells->item(0, 2)->text(), QString("comp.2"));
        QCOMPARE(cells->item(0, 2)->toolTip(), QString("water (H2O, CAS 7732-18-5)"));
        QCOMPARE(cells->item(0, 1)->toolTip(), QString("ethanol (C2H6O, CAS 64-17-5)"));
        QVERIFY(cells->item(1, 2)->toolTip().isEmpty());
    }

    void fileDialogs() {
        QCOMPARE(nameFilters("Datafiles|*.dat"), QStringList{"Datafiles (*.dat)"});
        QCOMPARE(nameFilters("Text|*.txt;*.log|All files|*.*"),
                 (QStringList{"Text (*.txt *.log)", "All files (*.*)"}));

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        Session session;
        QtDialogs dialogs(session, nullptr);
        FileRequest request;
        request.id = "file.save_problem";
        request.caption = "Saving file";
        request.filter = "Datafiles|*.dat";
        request.initialFolder = folder.path().toStdString();
        request.defaultExtension = "dat";
        request.promptOverwrite = true;
        test::WhenModal<QFileDialog> driver([&](QFileDialog* dialog) {
            [&] {
                QCOMPARE(dialog->windowTitle(), QString("Saving file"));
                QCOMPARE(dialog->nameFilters(), QStringList{"Datafiles (*.dat)"});
                QCOMPARE(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
                QCOMPARE(dialog->defaultSuffix(), QString("dat"));
                QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
                QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
                dialog->selectFile("exchanger");
            }();
            static_cast<QDialog*>(dialog)->accept();  // the file dialog's own accept
        });
        const auto file = dialogs.saveFile(request);
        QCOMPARE(driver.seen, 1);
        QVERIFY(file.has_value());
        QCOMPARE(QString::fromStdString(file->string()),
                 QDir(folder.path()).absoluteFilePath("exchanger.dat"));

        test::WhenModal<QFileDialog> canceller([](QFileDialog* dialog) { dialog->reject(); });
        request.caption = "Opening file";
        QVERIFY(!dialogs.openFile(request).has_value());
        QCOMPARE(canceller.seen, 1);
    }
};

QTEST_MAIN(TestGenericForms)
#include "tst_forms_generic.moc"
