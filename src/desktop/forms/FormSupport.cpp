#include "desktop/forms/FormSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "desktop/forms/MessageBoxes.h"

namespace vexamo::desktop {

QString qText(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

std::string stdText(const QString& text) { return text.toStdString(); }

void focusControl(QWidget* form, const std::string& name) {
    if (form == nullptr || name.empty()) return;
    auto* control = form->findChild<QWidget*>(QString::fromStdString(name));
    if (control == nullptr) return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (QLineEdit* comboEdit = combo->lineEdit()) comboEdit->selectAll();
    }
}

void showRefusal(QWidget* form, const DialogCheck& check) {
    if (!check.silent) {
        QApplication::beep();
        showMessage(form, check.kind, check.message);
    }
    focusControl(form, check.focus);
}

QStringList nameFilters(const std::string& filter) {
    QStringList filters;
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (description.isEmpty() && patterns.isEmpty()) continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        filters << QStringLiteral("%1 (%2)").arg(description.isEmpty() ? patterns : description,
                                                 patterns);
    }
    return filters;
}

QWidget* topModalOr(QWidget* fallback) {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return fallback;
}

OkCancelRow okCancelRow(QWidget* form, const char* okName, const char* cancelName, bool okDefault) {
    auto* ok = new QPushButton(QStringLiteral("OK"), form);
    ok->setObjectName(QString::fromLatin1(okName));
    if (okDefault)
        ok->setDefault(true);
    else
        ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), form);
    cancel->setObjectName(QString::fromLatin1(cancelName));
    cancel->setAutoDefault(false);
    auto* layout = new QHBoxLayout;
    layout->addStretch(1);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    layout->addStretch(1);
    return {layout, ok, cancel};
}

}  // namespace vexamo::desktop
