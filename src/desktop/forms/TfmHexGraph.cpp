#include "desktop/forms/TfmHexGraph.h"

#include <QCheckBox>
#include <QPainter>

#include "desktop/forms/FormSupport.h"
#include "plot/ProfilePainter.h"

namespace vexamo::desktop {

namespace {

constexpr int kWindowWidth = 870;
constexpr int kWindowHeight = 600;
constexpr int kBoxWidth = 862;
constexpr int kBoxHeight = 537;

}  // namespace

ProfilePaintBox::ProfilePaintBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pbHex"));
    setFixedSize(kBoxWidth, kBoxHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProfilePaintBox::setGeometryData(ProfileGraphGeometry geometry) {
    m_geometry = std::move(geometry);
    update();
}

void ProfilePaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_geometry.backgrounds.empty())
        painter.fillRect(rect(), palette().button());  // nothing computed yet
    plot::paintProfileGraph(painter, m_geometry);
}

TfmHexGraph::TfmHexGraph(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmHexGraph"));
    setFixedSize(kWindowWidth, kWindowHeight);
    // The paint box across the top of the window.
    m_paintBox = new ProfilePaintBox(this);
    m_paintBox->move((kWindowWidth - kBoxWidth) / 2, 0);
    m_dontShow = new QCheckBox(this);
    m_dontShow->setObjectName(QStringLiteral("chbDontShowAgain"));
    m_dontShow->move(m_paintBox->x() + 8, kBoxHeight + 20);
    m_dontShow->hide();
}

void TfmHexGraph::setRequest(const ProfileGraphRequest& request, bool offerDontShowAgain) {
    m_request = request;
    m_dontShow->setText(
        QString::fromUtf8(vexamo::tr(request.language, "Don't show again during this Run",
                                     "Больше не показывать в этом расчете")));
    m_dontShow->adjustSize();
    m_dontShow->setChecked(false);
    m_dontShow->setVisible(offerDontShowAgain);
    m_offered = offerDontShowAgain;
}

bool TfmHexGraph::dontShowAgain() const { return m_offered && m_dontShow->isChecked(); }

void TfmHexGraph::FormActivate() {
    ProfileGraphGeometry geometry = profileGraphWindow(m_request);
    setWindowTitle(qText(geometry.caption));
    m_paintBox->setGeometryData(std::move(geometry));
}

void TfmHexGraph::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

}  // namespace vexamo::desktop
