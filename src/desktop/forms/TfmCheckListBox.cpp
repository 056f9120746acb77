#include "desktop/forms/TfmCheckListBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/forms/FormSupport.h"
#include "desktop/forms/SubstanceLabels.h"
#include "dialogs/GenericDialogs.h"

namespace vexamo::desktop {

TfmCheckListBox::TfmCheckListBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmCheckListBox"));

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lbChLiBox"));
    m_label->setWordWrap(true);

    // Two columns, filled column by column.
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ChLiBoxVLE"));
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setUniformItemSizes(true);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("BBtChLiBox"));
    m_ok->setDefault(true);
    m_selectAll = new QPushButton(this);
    m_selectAll->setObjectName(QStringLiteral("BitBtSelAll"));
    m_selectAll->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_selectAll);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    setMinimumWidth(400);

    connect(m_ok, &QPushButton::clicked, this, &TfmCheckListBox::BBtChLiBoxClick);
    connect(m_selectAll, &QPushButton::clicked, this, &TfmCheckListBox::BitBtSelAllClick);
}

void TfmCheckListBox::setRequest(const CheckListRequest& request, LanguageFlagType languageFlag) {
    m_language = languageFlag;
    setWindowTitle(qText(request.caption));
    m_selectAll->setText(QString::fromUtf8(vexamo::tr(languageFlag, "Select All", "Выбрать все")));
    m_label->setText(qText(request.label));
    m_list->clear();
    for (const std::string& name : request.items) {
        auto* item = new QListWidgetItem(qText(name), m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
        // The answer is read by row; the chemical is only a hint.
        item->setToolTip(substanceIdentity(name, languageFlag));
    }
    // Room for half of the items in each of the two columns.
    const int rowHeight = m_list->sizeHintForRow(0) > 0 ? m_list->sizeHintForRow(0) : 20;
    const int rows = (static_cast<int>(request.items.size()) + 1) / 2;
    m_list->setGridSize(QSize(180, rowHeight));
    m_list->setFixedHeight(std::max(rows, 1) * rowHeight + 2 * m_list->frameWidth() + 4);
    m_selectAll->setFocus(Qt::OtherFocusReason);
}

CheckListAnswer TfmCheckListBox::answer() const {
    CheckListAnswer result;
    for (int i = 0; i < m_list->count(); ++i)
        result.checked.push_back(m_list->item(i)->checkState() == Qt::Checked);
    return result;
}

void TfmCheckListBox::BitBtSelAllClick() {
    m_ok->setFocus(Qt::OtherFocusReason);
    for (int i = 0; i < m_list->count(); ++i) m_list->item(i)->setCheckState(Qt::Checked);
}

void TfmCheckListBox::BBtChLiBoxClick() {
    const DialogCheck check = checkCheckList(answer().checked, m_language);
    if (!check.accepted) {
        showRefusal(this, check);
        return;
    }
    accept();
}

void TfmCheckListBox::reject() { BBtChLiBoxClick(); }

}  // namespace vexamo::desktop
