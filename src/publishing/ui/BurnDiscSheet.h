#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class DiscBurner;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The sheet that writes a folder to a CD or DVD: the folder, the drive, the size on the disc, then the progress of
// the writing (DiscBurner, xorriso). Burn first checks that the disc in the drive has room for the folder. While
// the disc is written AppController::bBurning is set, so quitting is refused; Cancel then stops the writing. The
// end is told in a message and the sheet closes.
//
//   doc->beginSheet(new BurnDiscSheet(folder, DiscBurner::drives()));
class BurnDiscSheet : public QDialog {
    Q_OBJECT
public:
    BurnDiscSheet(const QString& folder, const QStringList& drives, QWidget* parent = nullptr);
    ~BurnDiscSheet() override;

    // The Burn button.
    void burn();
    bool isBurning() const;
    quint64 blocksRequired() const { return m_blocksRequired; }
    QComboBox* drivesBox() const { return m_drives; }
    QPushButton* burnButton() const { return m_burn; }
    QProgressBar* progressBar() const { return m_bar; }
    QString statusText() const;

Q_SIGNALS:
    // The writing has ended (after its message).
    void burnFinished(bool ok);

public Q_SLOTS:
    void reject() override;

private:
    void finished(bool ok, const QString& error);

    QString m_folder;
    quint64 m_blocksRequired = 0;
    DiscBurner* m_burner = nullptr;
    QComboBox* m_drives = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_burn = nullptr;
    QPushButton* m_cancel = nullptr;
};
