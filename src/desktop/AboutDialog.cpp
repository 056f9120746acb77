#include "AboutDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTextBlockFormat>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

#include "desktop/forms/SubstanceLabels.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo::desktop {

AboutDialog::AboutDialog(LanguageFlagType lang, QWidget* parent)
    : QDialog(parent), m_language(lang) {
    setObjectName(QStringLiteral("fmAbProgr"));
    setWindowTitle(QString::fromUtf8(vexamo::tr(lang, "About program", "О программе")));

    m_view = new QTextBrowser(this);
    m_view->setObjectName(QStringLiteral("reAbout"));
    m_view->setReadOnly(true);
    m_view->setOpenLinks(false);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_substancesLabel = new QLabel(
        QString::fromUtf8(vexamo::tr(lang, "Built-in substances", "Встроенные вещества")), this);
    m_substances = new QTableWidget(0, 4, this);
    m_substances->setObjectName(QStringLiteral("tbSubstances"));
    m_substances->setHorizontalHeaderLabels(
        {QString::fromUtf8(vexamo::tr(lang, "System name", "Системное имя")),
         QString::fromUtf8(vexamo::tr(lang, "Substance", "Вещество")),
         QString::fromUtf8(vexamo::tr(lang, "Formula", "Формула")), QStringLiteral("CAS")});
    m_substances->verticalHeader()->hide();
    m_substances->horizontalHeader()->setStretchLastSection(true);
    m_substances->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_substances->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_substances->setSelectionMode(QAbstractItemView::NoSelection);
    m_substances->setFocusPolicy(Qt::NoFocus);
    m_substancesLabel->setBuddy(m_substances);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("bitbtOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_substancesLabel);
    layout->addWidget(m_substances);
    layout->addLayout(buttons);
    setSubstances({});

    setFixedSize(600, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void AboutDialog::setText(const QString& text) {
    m_view->setPlainText(text);
    QTextCursor cursor(m_view->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);
    m_view->moveCursor(QTextCursor::Start);
}

QString AboutDialog::text() const { return m_view->toPlainText(); }

void AboutDialog::setSubstances(const SubArr& table) {
    m_substances->setRowCount(0);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Pro& record = table[i];
        // A record renamed in a loaded table is no longer the built-in one.
        if (builtInIndex(record.EnglishName) != static_cast<int>(i)) continue;
        const auto identity = builtInIdentity(i);
        if (!identity) continue;
        const int row = m_substances->rowCount();
        m_substances->insertRow(row);
        const QStringList cells{
            QString::fromStdString(vexamo::tr(m_language, record.EnglishName, record.RussianName)),
            QString::fromUtf8(vexamo::tr(m_language, identity->englishName, identity->russianName)),
            QString::fromUtf8(identity->formula), QString::fromUtf8(identity->cas)};
        for (int column = 0; column < cells.size(); ++column)
            m_substances->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_substances->resizeColumnsToContents();
    m_substances->resizeRowsToContents();
    const bool any = m_substances->rowCount() > 0;
    m_substancesLabel->setVisible(any);
    m_substances->setVisible(any);
    // Every row in view without a scroll bar.
    int height =
        m_substances->horizontalHeader()->sizeHint().height() + 2 * m_substances->frameWidth();
    for (int row = 0; row < m_substances->rowCount(); ++row) height += m_substances->rowHeight(row);
    m_substances->setFixedHeight(height);
}

}  // namespace vexamo::desktop
