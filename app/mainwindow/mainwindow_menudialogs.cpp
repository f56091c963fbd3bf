// The dialogs of the More menu: each is made for the one call, run inside
// the dialog page and destroyed before the slot returns. They report nothing
// to the notification bar.
#include "mainwindow.h"

#include "aboutdialog.h"
#include "helpdialog.h"
#include "licensedialog.h"
#include "waitguard.h"

int MainWindow::runMenuDialog(BaseDialog &dialog)
{
    enterDialog(&dialog);
    const WaitGuard guard(this);
    const int result = dialog.exec();
    // The window may have gone while the dialog waited.
    if (guard)
        exitDialog();
    return result;
}

void MainWindow::on_actionAbout_triggered()
{
    AboutDialog dialog(this);
    runMenuDialog(dialog);
}

void MainWindow::on_actionLicense_triggered()
{
    LicenseDialog dialog(this);
    runMenuDialog(dialog);
}

void MainWindow::on_actionHelp_triggered()
{
    HelpDialog dialog(this);
    runMenuDialog(dialog);
}
