// The dialogs of the More menu: each is made for the one call, run inside
// the dialog page and destroyed before the slot returns. They report nothing
// to the notification bar.
#include "mainwindow.h"

#include "aboutdialog.h"
#include "helpdialog.h"
#include "licensedialog.h"
#include "waitguard.h"

#include <QPointer>

int MainWindow::runMenuDialog(BaseDialog *dialog)
{
    // The dialog is the window's child: a window deleted while the dialog
    // waits deletes it too, so it must not live on this frame.
    QPointer<BaseDialog> shown = dialog;
    enterDialog(dialog);
    const WaitGuard guard(this);
    const int result = dialog->exec();
    // The window may have gone while the dialog waited.
    if (!guard)
        return result;
    exitDialog();
    delete shown.data();
    return result;
}

void MainWindow::on_actionAbout_triggered()
{
    runMenuDialog(new AboutDialog(this));
}

void MainWindow::on_actionLicense_triggered()
{
    runMenuDialog(new LicenseDialog(this));
}

void MainWindow::on_actionHelp_triggered()
{
    runMenuDialog(new HelpDialog(this));
}
