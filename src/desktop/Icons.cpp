#include "Icons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QSvgRenderer>

namespace vexamo::desktop {

namespace {

// Renders one of our drawings at the usual sizes; the SVG renderer is linked
// into the program, so this needs no image plug-in.
QIcon drawing(const char* name) {
    QSvgRenderer renderer(QStringLiteral(":/vexamo/icons/%1.svg").arg(QLatin1String(name)));
    QIcon result;
    if (!renderer.isValid()) return result;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        result.addPixmap(pixmap);
    }
    return result;
}

QIcon standard(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
}

}  // namespace

QIcon icon(IconId id) {
    QIcon result;
    switch (id) {
        case IconId::Application:
            result = drawing("vexamo");
            break;
        case IconId::Open:
            result = standard(QStyle::SP_DialogOpenButton);
            break;
        case IconId::Save:
            result = standard(QStyle::SP_DialogSaveButton);
            break;
        case IconId::SaveAs:
            result = drawing("saveas");
            break;
        case IconId::Font:
            result = drawing("font");
            break;
        case IconId::Print:
            result = drawing("print");
            break;
        case IconId::About:
            result = standard(QStyle::SP_MessageBoxInformation);
            break;
        case IconId::HomePage:
            result = drawing("homepage");
            break;
        case IconId::Exit:
            result = standard(QStyle::SP_DialogCloseButton);
            break;
        case IconId::TechnoData:
            result = standard(QStyle::SP_FileDialogDetailedView);
            break;
        case IconId::DesignData:
            result = standard(QStyle::SP_FileDialogContentsView);
            break;
        case IconId::ProblemFile:
            result = standard(QStyle::SP_DirOpenIcon);
            break;
        case IconId::Run:
            result = standard(QStyle::SP_MediaPlay);
            break;
        case IconId::Profile:
            result = drawing("profile");
            break;
    }
    // A drawing that failed to load falls back to a picture of the style.
    if (result.isNull()) result = standard(QStyle::SP_FileIcon);
    return result;
}

}  // namespace vexamo::desktop
