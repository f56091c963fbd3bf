#include "licensedialog.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextCursor>

#include "dialogsresources.h"
#include "licensetexts.h"
#include "ui_licensedialog.h"

LicenseDialog::LicenseDialog(QWidget *parent, const QString &root)
    : BaseDialog(parent)
    , ui((initDialogsResources(), new Ui::LicenseDialog))
    , m_root(root.isEmpty() ? licensetexts::defaultRoot() : root)
{
    ui->setupUi(this);
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (!screens.isEmpty())
        move(screens.first()->geometry().center() - rect().center());
    const QPixmap logo = ui->lblLogo->pixmap(Qt::ReturnByValue);
    if (!logo.isNull()) {
        ui->lblLogo->setPixmap(
            logo.scaled(logo.width() / 2, logo.height() / 2, Qt::KeepAspectRatio, Qt::FastTransformation));
        ui->lblLogo->adjustSize();
    }
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
    ui->txtInfo->clear();
    if (index >= 0) {
        // Each piece is a paragraph of its own, as plain text: licence texts
        // hold "<...>" that must not be read as markup.
        QTextCursor end(ui->txtInfo->document());
        bool first = true;
        for (const QString &piece : licensetexts::pieces(ui->tabWdg->tabText(index), m_root)) {
            end.movePosition(QTextCursor::End);
            if (!first)
                end.insertBlock();
            end.insertText(piece);
            first = false;
        }
    }
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
