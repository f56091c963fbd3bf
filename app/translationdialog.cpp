#include "translationdialog.h"

#include "scalinghandlercont.h"
#include "translation.h"
#include "ui_translationdialog.h"

#include <QListWidget>

TranslationDialog::TranslationDialog(QWidget *parent)
    : BaseDialog(parent)
    , ui(new Ui::TranslationDialog)
{
    ui->setupUi(this);
    connect(ui->lstLang, &QListWidget::currentItemChanged, this,
            &TranslationDialog::slotLanguageChanged);
    fillLanguageList();
    const double factor = ScalingHandlerCont::instance()->getScaleFactor();
    ScaleFactorChange(factor);
    // Its few controls keep together at the form's size: the dialog page
    // would otherwise stretch the dialog over the whole window.
    const QSize form = size();
    setMaximumSize(QSize(qRound(form.width() * factor), qRound(form.height() * factor))
                       .expandedTo(minimumSizeHint()));
}

TranslationDialog::~TranslationDialog()
{
    delete ui;
}

void TranslationDialog::fillLanguageList()
{
    // Building the list makes the current language's row current; that must
    // switch nothing.
    filling = true;
    const QString current = languageBase(QLocale().name());
    locales.clear();
    ui->lstLang->clear();
    for (const QString &name : availableLanguages()) {
        const QString code = languageFromQmFile(name);
        const QLocale locale(code);
        locales.append(locale);
        ui->lstLang->addItem(QLocale::languageToString(locale.language()));
        if (code == current)
            ui->lstLang->setCurrentRow(ui->lstLang->count() - 1);
    }
    filling = false;
}

void TranslationDialog::slotLanguageChanged(QListWidgetItem *current, QListWidgetItem *)
{
    // A click acts even when no row was current before (a system language
    // without translation file leaves the list without a current row).
    if (filling || !current)
        return;
    const int row = ui->lstLang->row(current);
    if (row >= 0 && row < locales.size())
        loadLanguage(locales.at(row));
}

void TranslationDialog::on_btnSelect_clicked()
{
    emit DialogFinished();
}

void TranslationDialog::translateUiSlot(QWidget *)
{
    ui->btnSelect->setText(tr("Select"));
}

QListWidgetItem *TranslationDialog::rowItem(int row) const
{
    return ui->lstLang->item(row);
}

int TranslationDialog::rowCount() const
{
    return ui->lstLang->count();
}

int TranslationDialog::currentRow() const
{
    return ui->lstLang->currentRow();
}
