#include "licensedialog.h"

#include <QTextCursor>

#include "dialogframe.h"
#include "dialogsresources.h"
#include "licensetexts.h"
#include "scalinghandlercont.h"
#include "ui_licensedialog.h"

LicenseDialog::LicenseDialog(QWidget *parent, const QString &root)
    : BaseDialog(parent)
    , ui((initDialogsResources(), new Ui::LicenseDialog))
    , m_root(root.isEmpty() ? licensetexts::defaultRoot() : root)
{
    ui->setupUi(this);
    centreOnFirstScreen(this);
    scaleLogo(ui->lblLogo, ScalingHandlerCont::instance()->getScaleFactor());
    for (const QString &folder : licensetexts::folders(m_root))
        ui->tabWdg->addTab(new QWidget(this), folder);
    on_tabWdg_currentChanged(ui->tabWdg->currentIndex());
}

LicenseDialog::~LicenseDialog()
{
    delete ui;
}

QString LicenseDialog::text() const
{
    return ui->txtInfo->toPlainText();
}

void LicenseDialog::on_tabWdg_currentChanged(int index)
{
    // Plain text: licence texts hold "<...>" that must not be read as markup.
    ui->txtInfo->setPlainText(index >= 0 ? licensetexts::text(ui->tabWdg->tabText(index), m_root) : QString());
    // A new tab's text is read from its beginning.
    QTextCursor cursor = ui->txtInfo->textCursor();
    cursor.movePosition(QTextCursor::Start);
    ui->txtInfo->setTextCursor(cursor);
    ui->txtInfo->ensureCursorVisible();
}

void LicenseDialog::on_btnClose_clicked()
{
    emit DialogFinished();
}

void LicenseDialog::translateUiSlot(QWidget *)
{
    ui->lblLogo->setText(QString());
    ui->btnClose->setText(tr("Close"));
}
