#pragma once

#include "basewidget.h"
#include "devicerecords.h"

namespace Ui {
class ProductInformation;
}

// The configuration view's page with the connected unit's identification:
// firmware version, hardware revision, flash and Ethernet protocol
// versions. Asks the unit afresh on every readout; a failed readout shows
// the empty page without a message.
class ProductInformation : public BaseWidget
{
    Q_OBJECT

public:
    explicit ProductInformation(QWidget *parent = nullptr);
    ~ProductInformation() override;

    // The firmware text of the page: the version, and "m" when modified.
    static QString firmwareText(const ProductInfoRecord &record);

    // True while the filled page is the one shown.
    bool showsInformation() const;

public slots:
    void triggerReadout();
    void translateUiSlot(QWidget *ptr) override;

private:
    void showPage(QWidget *page);

    Ui::ProductInformation *ui;
};
