#include "basedialog.h"

#include <QEventLoop>

#include "waitguard.h"

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
    const WaitGuard guard(this);
    connect(this, &BaseDialog::DialogFinished, &loop, &QEventLoop::quit);
    guard.endWith(loop);
    loop.exec();
    // Removed while it waited (its host went, or it was deleted): there is
    // nothing left to hide and no answer was given.
    if (!guard)
        return 0;
    setVisible(false);
    return dialogResult;
}
