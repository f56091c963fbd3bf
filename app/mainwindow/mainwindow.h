#pragma once

#include "devicerecords.h"
#include "measurementtable.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QMargins>
#include <QMainWindow>
#include <QMessageBox>
#include <QMutex>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

class BaseDialog;
class BaseWidget;
class DataAcquisition;
class ConfigurationTile;
class QProgressBar;
class QPushButton;
class QScreen;
class QScrollArea;
class ValueBar;
class WaitGuard;

namespace Ui {
class MainWindow;
}

// The one window of KorvantisSetup: top bar with the four tab buttons, the
// notification bar, the status bar and the four pages (overview tiles, data
// acquisition, configuration, device log). Dialogs and the progress bar are
// shown inside the window's own dialog page, in front of the disabled main
// page. Every page's messages end here and become notification-bar entries
// or message boxes.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Ids of the overview tiles.
    enum Tile : int {
        TileCommonSettings = 0,
        TileSensorParameter = 1,
        TileChannelParameter = 2,
        TileReferenceSetup = 3,
        TileFieldbus = 4,
        TileNetworkSettings = 5,
        TileUpdateFirmware = 6,
    };
    // Pages of the page stack, in the order of the tab buttons.
    enum Page : int { PageOverview = 0, PageData = 1, PageConfig = 2, PageLog = 3 };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // "Service Setup Tool Korvantis" and the tool's version.
    static QString windowTitleText();

    void printNotification(const QString &message, bool showGoToLog, QMessageBox::Icon kind);
    void readConfigFromDevice();
    // Connects the page's message signals to the slots of this window and to
    // its notification bar.
    void connectBaseWidget(BaseWidget *page);

    Ui::MainWindow *form() const { return ui; }
    QProgressBar *progress() const { return progressBar; }
    const std::vector<QWidget *> &dialogs() const { return dialogStack; }
    QWidget *placeholderDialog() const { return dialogPlaceholder; }
    bool asksReadConfig() const { return askReadConfig; }
    // How long the last dialog's removal waits for the unit's save feedback.
    void setFeedbackWaitMs(int ms) { feedbackWaitMs = ms; }
    // A firmware update is running: the window does not close and the
    // program does not restart until it has ended.
    bool updateRunning() const;

    // The data page: reads `step` for the channels of `mask` and shows it
    // (curves, the SKW bars, or the empty page when nothing came).
    void runDataStep(MeasurementTable::Step step, uint8_t mask);
    DataAcquisition *dataAcquisition() const { return acquisition; }
    // Where the CSV export asks for its file name (a file dialog by default).
    using SaveNameProvider = std::function<QString(const QString &caption, const QString &filter)>;
    void setCsvNameProvider(SaveNameProvider provider) { csvNameProvider = std::move(provider); }

signals:
    void triggerUpdateProgressBar(uint32_t value);

public slots:
    // Navigation.
    void setcurrentIndexes(int index);
    void tabButtonclicked();
    void tabSelect_currentChanged(int index);
    void HandletilePressedSlot(int32_t id);
    void NotificationBarGoToLog();
    // Tiles.
    void refreshTiles();
    void updateTileIcons();
    void showFBTileSlot();
    void hideFBTileSlot();
    // Dialog host.
    void enterDialog(QWidget *widget);
    void exitDialog();
    // Scale and style.
    void ScaleFactorchange(double factor);
    void polishWidget(QWidget *ptr);
    void resizescrollArea() {}
    void screenchangeSlot(QScreen *) {}
    // Connection state.
    void connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender);
    void lostconnection();
    // The unit chosen gives no first answer (the link keeps trying).
    void targetNotAnswering(QHostAddress address);
    void errorResetRequested();
    void on_btnRestartPPU_clicked();
    void on_btnConnectToDevice_clicked();
    // Menu dialogs.
    void on_actionAbout_triggered();
    void on_actionLicense_triggered();
    void on_actionHelp_triggered();
    void errorIsFallen(QString error);
    // Message routing.
    void printMessageboxwrapper(QStringList names, QString title, QString message,
                                QMessageBox::Icon iconsel, int32_t *retptr = nullptr);
    void printNotifyBarErrorwrapper(QString message, bool sendErrorReset, bool showGoToLog);
    void printNotifyBarSuccesswrapper(QString message, uint32_t time = 3000);
    // Progress bar.
    void initProgressbar(QString title, uint32_t max);
    void setMaxProgressbar(uint32_t max);
    void updateProgressBar(uint32_t value);
    void deinitProgressbar();
    // Data page.
    void on_btngetData_clicked();
    void on_btnreadSKWData_clicked();
    void on_btnmanRunstart_clicked();
    void stopDataRun();
    void on_chkRefRun_stateChanged(int arg1);
    void on_wdgStack_currentChanged(int arg1);
    void refreshGraphTitles();
    void on_btnExportDataToCsv_clicked();
    void saveCSV();
    // The reference-run result the unit reported.
    void RefRunResultreceived(ReferenceRunResult_t &result);
    // More menu (language and scale).
    void on_actionLanguage_triggered();
    void on_actionScaling_triggered();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct TileText
    {
        int id;
        const char *title;
        const char *description;
    };
    static const TileText kTiles[];

    void connectDevice();
    // Called by the destructor: see there.
    void goQuietly();
    void letPagesScroll();
    // Runs a menu dialog inside the dialog page and deletes it; its result.
    int runMenuDialog(BaseDialog *dialog);
    // After a wait: whether the slot may go on. Not when the window went
    // meanwhile (only the guard may be touched then) or is closing: nothing
    // more is sent to the unit for a window that is going.
    static bool goesOn(const WaitGuard &guard, const MainWindow *window);
    void createTiles();
    // Puts a percentage on the progress bar, drawn now or when the slice ends.
    void showProgress(int percent);
    void setupDataPage();
    void resetDataView();
    // The connect dialog leaves the unit at once: a timed run still going
    // on it ends on it first, and in reference-run mode its result is read
    // and shown while the unit is still the one the tool talks to.
    void endRunBeforeLeaving();
    void runDataStep(MeasurementTable::Step step);
    // Locks the window while the request gate is held.
    void lockForRequest(bool held);
    ConfigurationTile *tile(int id) const;
    // While a dialog shows, the notification bar sits at the top of the
    // dialog page, over the dim layer, so a message raised in a dialog is
    // read and confirmed there; afterwards it goes back under the top bar.
    void placeNotificationBar(bool overDialogs);
    // Fits the dialog shown into the dialog page (see dialogfit): it gives
    // up width it can spare, then the dim margin around it gives way, then
    // the room between its parts; one that does not fill the page is
    // centred in it.
    void fitDialog();
    // Ends the "update is running" warnings once the update is over.
    void watchFirmwareUpdates();

    Ui::MainWindow *ui;
    DataAcquisition *acquisition = nullptr;
    bool acquiring = false;
    // Stands in the dialog page while a request sequence runs.
    QWidget *requestLock = nullptr;
    // The dialog that was on top when the gate was taken: disabled meanwhile.
    QPointer<QWidget> lockedDialog;
    SaveNameProvider csvNameProvider;
    std::vector<ValueBar *> valueBars;
    bool askReadConfig = true;
    int baseWidth = -1;
    int baseHeight = -1;
    QWidget *dialogPlaceholder = nullptr;
    std::vector<QWidget *> dialogStack;
    int notifyBarHomeIndex = -1;  // its place in the main page's layout
    // The scroll area dialogs are shown in, the dim margin around it as the
    // form gives it, and whether a fit is under way.
    QScrollArea *dialogScroll = nullptr;
    QMargins dialogMargins;
    bool fittingDialog = false;
    // The warnings shown while a firmware update runs, as they were worded.
    QStringList updateWarnings;
    QProgressBar *progressBar = nullptr;
    uint32_t progressMax = 100;
    // The bar is drawn at most once per slice (see showProgress): the time
    // since it was last drawn, what that drawing took, and the percentage
    // held back meanwhile (-1: none), drawn by the timer when the slice ends.
    QElapsedTimer progressDrawn;
    qint64 progressDrawNs = 0;
    int progressHeldBack = -1;
    QTimer progressCatchUp;
    std::vector<QPushButton *> tabButtons;
    int lastIndex = -1;
    int feedbackWaitMs = 10000;
    bool closing = false;
    QMutex enterMutex;
    QMutex exitMutex;
};
