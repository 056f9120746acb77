#pragma once
// What every form does the same way: texts of the core shown in widgets,
// focus on a named control, a refused OK.
#include <QString>
#include <QStringList>
#include <string>

#include "dialogs/GenericDialogs.h"

class QWidget;
class QHBoxLayout;
class QPushButton;

namespace vexamo::desktop {

// A text of the core (UTF-8, "\r\n" line breaks) as a widget shows it.
QString qText(const std::string& text);
// A widget's text for the core (UTF-8, as typed).
std::string stdText(const QString& text);

// Focuses the control whose objectName is `name` inside `form` and selects
// the whole text of an edit or editable combo; "" or an unknown name does
// nothing.
void focusControl(QWidget* form, const std::string& name);

// A refused OK: a beep, the check's message in its box over `form`, the
// focus on the offending control. A silent check only moves the focus.
void showRefusal(QWidget* form, const DialogCheck& check);

// The filter of a file request ("Datafiles|*.dat|All files|*.*", pairs of
// description and patterns separated by '|', patterns by ';') as the name
// filters of a QFileDialog ("Datafiles (*.dat)", "All files (*.*)").
QStringList nameFilters(const std::string& filter);

// The centred row of an OK and a Cancel button with the given object names;
// OK is the default button when `okDefault`.
struct OkCancelRow {
    QHBoxLayout* layout;
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancelRow okCancelRow(QWidget* form, const char* okName, const char* cancelName, bool okDefault);

// The parent of a box or dialog opened now: the modal dialog on top, if any,
// else `fallback`.
QWidget* topModalOr(QWidget* fallback);

}  // namespace vexamo::desktop
