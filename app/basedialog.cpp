#include "basedialog.h"

#include <QEventLoop>

BaseDialog::BaseDialog(QWidget *parent)
    : BaseWidget(parent)
{
    dialogResult = 0;
    setVisible(false);
}

int BaseDialog::exec()
{
    setVisible(true);
    QEventLoop loop;
    connect(this, &BaseDialog::DialogFinished, &loop, &QEventLoop::quit);
    loop.exec();
    setVisible(false);
    return dialogResult;
}
