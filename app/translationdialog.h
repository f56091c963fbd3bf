#pragma once

#include "basedialog.h"

#include <QList>
#include <QLocale>

class QListWidgetItem;

namespace Ui {
class TranslationDialog;
}

// Lists the installed languages (one row per "SST_*.qm" file); a click on a
// row switches the user-interface language at once, "Select" closes.
class TranslationDialog : public BaseDialog
{
    Q_OBJECT

public:
    explicit TranslationDialog(QWidget *parent = nullptr);
    ~TranslationDialog() override;

    void fillLanguageList();
    QListWidgetItem *rowItem(int row) const;
    int rowCount() const;
    int currentRow() const;

public slots:
    void translateUiSlot(QWidget *ptr) override;
    void on_btnSelect_clicked();
    void slotLanguageChanged(QListWidgetItem *current, QListWidgetItem *previous);

private:
    Ui::TranslationDialog *ui;
    QList<QLocale> locales;
    bool filling = false;
};
