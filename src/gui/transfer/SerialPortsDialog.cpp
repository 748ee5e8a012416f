#include "transfer/SerialPortsDialog.h"

#include "platform/ComPortMap.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace zx {

SerialPortsDialog::SerialPortsDialog(const QString &workDir, QWidget *parent)
    : QDialog(parent), workDir_(workDir)
{
    setObjectName(QStringLiteral("frmSerialPorts"));
    setWindowTitle(QStringLiteral("COM"));
    const ComPortMap ports(workDir_);
    const QStringList offered = ComPortMap::candidates();
    auto *form = new QFormLayout(this);
    for (int com = 1; com <= ComPortMap::PortCount; ++com) {
        auto *box = new QComboBox(this);
        box->setObjectName(QStringLiteral("cboCom%1").arg(com));
        box->setEditable(true);
        box->addItems(offered);
        box->setCurrentText(ports.device(com));
        box->setMinimumContentsLength(24);
        form->addRow(QStringLiteral("COM %1").arg(com), box);
        devices_[com - 1] = box;
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOk"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    // An editable box keeps Return to itself; in this dialog Return means OK there too.
    for (QComboBox *box : devices_)
        connect(box->lineEdit(), &QLineEdit::returnPressed, buttons->button(QDialogButtonBox::Ok),
                &QPushButton::click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void SerialPortsDialog::accept()
{
    ComPortMap ports(workDir_);
    for (int com = 1; com <= ComPortMap::PortCount; ++com)
        ports.setDevice(com, devices_[com - 1]->currentText());
    QString error;
    if (!ports.save(&error)) {
        QMessageBox::critical(this, windowTitle(), error);
        return;
    }
    QDialog::accept();
}

} // namespace zx
