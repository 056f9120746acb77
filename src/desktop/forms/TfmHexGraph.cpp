#include "desktop/forms/TfmHexGraph.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>

#include "desktop/forms/FormSupport.h"
#include "desktop/forms/MessageBoxes.h"
#include "plot/ProfilePainter.h"

namespace vexamo::desktop {

namespace {

constexpr int kWindowWidth = 870;
constexpr int kWindowHeight = 600;
constexpr int kBoxWidth = 862;
constexpr int kBoxHeight = 537;

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

// The picture types the window saves, in the filter's order.
std::string pictureFilter(LanguageFlagType lang) {
    return tr(lang, "PNG pictures|*.png|SVG pictures|*.svg", "Рисунки PNG|*.png|Рисунки SVG|*.svg");
}

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
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("btSavePicture"));
    m_save->setAutoDefault(false);
    connect(m_save, &QPushButton::clicked, this, &TfmHexGraph::btSavePictureClick);
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
    m_save->setText(qs(vexamo::tr(request.language, "Save picture...", "Сохранить рисунок...")));
    m_save->setToolTip(qs(vexamo::tr(request.language, "Save the profiles as a PNG or SVG picture",
                                     "Сохранить профили как рисунок PNG или SVG")));
    m_save->adjustSize();
    m_save->move(m_paintBox->x() + kBoxWidth - m_save->width() - 8,
                 kBoxHeight + (kWindowHeight - kBoxHeight - m_save->height()) / 2);
}

void TfmHexGraph::btSavePictureClick() {
    const LanguageFlagType lang = m_request.language;
    QFileDialog dialog(this, qs(vexamo::tr(lang, "Saving picture", "Сохранение рисунка")));
    dialog.setObjectName(QStringLiteral("SavePictureDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The file it replaces is kept as its backup.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = nameFilters(pictureFilter(lang));
    dialog.setNameFilters(filters);
    dialog.selectFile(QStringLiteral("profile"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QString file = dialog.selectedFiles().constFirst();
    // A name without an extension takes the one of the chosen type.
    if (QFileInfo(file).suffix().isEmpty())
        file += dialog.selectedNameFilter() == filters.value(1) ? QStringLiteral(".svg")
                                                                : QStringLiteral(".png");
    savePicture(std::filesystem::path(QFile::encodeName(file).toStdString()));
}

bool TfmHexGraph::savePicture(const std::filesystem::path& file) {
    const LanguageFlagType lang = m_request.language;
    try {
        plot::renderProfileGraph(m_request, file);
    } catch (const std::exception& e) {
        showError(this, e, lang,
                  std::string(vexamo::tr(
                      lang, "The picture could not be saved: ", "Не удалось сохранить рисунок: ")) +
                      file.string());
        return false;
    }
    return true;
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
