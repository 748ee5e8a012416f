#include "bus/BusOperationDialog.h"

#include "app/AppContext.h"
#include "i18n/Msg.h"
#include "model/Model.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace zx {

BusOperationDialog::BusOperationDialog(AppContext &context, QWidget *parent) : QDialog(parent), ctx_(context)
{
    const Catalogue &c = ctx_.model.catalogue;
    status_ = new QLabel(c(Msg::ReadyToStart), this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setMinimumWidth(260);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("ggestatus"));
    gauge_->setTextVisible(false);
    gauge_->setValue(0);
}

QLayout *BusOperationDialog::statusRow()
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(ctx_.model.catalogue(Msg::Status) + QStringLiteral(":"), this));
    row->addWidget(status_, 1);
    return row;
}

void BusOperationDialog::reject()
{
    if (running_)
        return;
    QDialog::reject();
}

void BusOperationDialog::closeEvent(QCloseEvent *event)
{
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zx
