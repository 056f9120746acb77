#pragma once
// TfmHexGraph: the temperature profiles along the heat-transfer surface.
// The picture is computed from the request when the window becomes active
// (FormActivate) and kept; the paint box pbHex paints the kept picture
// whenever it needs painting; btSavePicture saves it as PNG or SVG. Lives as
// long as the program.
#include <QDialog>
#include <filesystem>

#include "dialogs/Dialogs.h"
#include "graph/ProfileGraph.h"

class QCheckBox;
class QPushButton;

namespace vexamo::desktop {

// pbHex: the drawing surface, 862 x 537 at the top of the window.
class ProfilePaintBox : public QWidget {
    Q_OBJECT
public:
    explicit ProfilePaintBox(QWidget* parent = nullptr);
    void setGeometryData(ProfileGraphGeometry geometry);
    const ProfileGraphGeometry& geometryData() const { return m_geometry; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProfileGraphGeometry m_geometry;
};

class TfmHexGraph : public QDialog {
    Q_OBJECT
public:
    explicit TfmHexGraph(QWidget* parent = nullptr);

    // The window's data fields. With `offerDontShowAgain` the window shows
    // the check box "Don't show again during this Run" (unchecked).
    void setRequest(const ProfileGraphRequest& request, bool offerDontShowAgain = false);
    // Whether the person checked that box.
    bool dontShowAgain() const;
    ProfilePaintBox* paintBox() const { return m_paintBox; }

    // FormActivate: caption and the picture of the current data.
    void FormActivate();

    // btSavePicture: asks for a file and saves the picture of the current
    // data in it, PNG or SVG by the chosen type (or the name's extension).
    void btSavePictureClick();
    // Saves the picture (an existing file is kept as NAME.EXT.bak); a file
    // that cannot be written is reported in a box. Returns whether it was saved.
    bool savePicture(const std::filesystem::path& file);

protected:
    void showEvent(QShowEvent* event) override;

private:
    ProfileGraphRequest m_request;
    ProfilePaintBox* m_paintBox = nullptr;  // pbHex
    QCheckBox* m_dontShow = nullptr;        // chbDontShowAgain
    QPushButton* m_save = nullptr;          // btSavePicture
    bool m_offered = false;
};

}  // namespace vexamo::desktop
