#include "AboutDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBlockFormat>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

namespace vexamo::desktop {

AboutDialog::AboutDialog(LanguageFlagType lang, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmAbProgr"));
    setWindowTitle(QString::fromUtf8(vexamo::tr(lang, "About program", "О программе")));

    m_view = new QTextBrowser(this);
    m_view->setObjectName(QStringLiteral("reAbout"));
    m_view->setReadOnly(true);
    m_view->setOpenLinks(false);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("bitbtOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    setFixedSize(600, 460);
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

}  // namespace vexamo::desktop
