#pragma once

#include <QDialog>

#include <functional>

class ModelProgress;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QRadioButton;
class QSpinBox;
class QPushButton;
class RtfWriter;

// The shape every report sheet shares: its title, the report's options, the number of generations, the file
// type (RTF or RTFD, the user default "rtfFileType"), the word processor that opens the report (the user default
// "rtfApplication"), a status line and a counter, and the Exit and Generate buttons. Generate checks the file
// type against the word processor, writes the report (writeReport, which reports to a ModelProgress shown in the
// counter) and hands the finished file over: the status line names it, the word processor opens it and the sheet
// closes four seconds later. A report that could not be written leaves the sheet open to try again.
//
// A report's sheet derives from it, adds its options with addOption() in its constructor and writes its file in
// writeReport():
//
//   class PlacesReport : public ReportSheet {
//   public:
//       explicit PlacesReport(FTMoc* moc) : ReportSheet(title) {
//           addOption("includeNotes", m_options.includeNotes, [this](bool on) { m_options.includeNotes = on; });
//           setGenerationsShown(false);
//       }
//   protected:
//       bool writeReport(RtfWriter& writer, ModelProgress* progress) override { return m_report.generate(writer,
//       progress); }
//   };
class ReportSheet : public QDialog {
    Q_OBJECT
public:
    explicit ReportSheet(const QString& title, QWidget* parent = nullptr);
    ~ReportSheet() override;

    // "rtf" or "rtfd".
    QString fileType() const;
    // Selects the type and keeps it in "rtfFileType" for the next report.
    void setFileType(const QString& type);
    // Writes the report, as the Generate button does.
    void generate();
    // Closes the sheet, as the Exit button does (not while a report is being written).
    void closeSheet();

    QLabel* reportTitle() const { return m_reportTitle; }
    QSpinBox* numGenerationsSpinBox() const { return m_numGenerations; }
    QRadioButton* rtfButton() const { return m_rtf; }
    QRadioButton* rtfdButton() const { return m_rtfd; }
    QComboBox* rtfAppsComboBox() const { return m_rtfApps; }
    QLabel* progressMessage() const { return m_progressMessage; }
    QLabel* counter() const { return m_counter; }
    QPushButton* generateButton() const { return m_generateButton; }
    QPushButton* exitButton() const { return m_exitButton; }
    // The option check box with the object name `name`; null when there is none.
    QCheckBox* option(const QString& name) const;

public Q_SLOTS:
    void reject() override;

protected:
    // A check box for one option, in two columns in the order added, named `name` and titled with the text of the
    // "Localizable" key "ReportOption_<name>"; `set` receives each change.
    QCheckBox* addOption(const QString& name, bool checked, std::function<void(bool)> set);
    // The generations field: shown with its first value, or hidden for a report of one person.
    void setGenerations(int value, std::function<void(int)> set);
    void setGenerationsShown(bool shown);

    // Whether the report will hold pictures (the file-type check asks).
    virtual bool includesPictures() const = 0;
    // Writes the whole file with `writer`, its type set; false when it could not (the user has been told).
    virtual bool writeReport(RtfWriter& writer, ModelProgress* progress) = 0;
    // Called once as the sheet closes, by the user or after the report.
    virtual void sheetClosing() { }

    void closeEvent(QCloseEvent* event) override;

private:
    void chooseApplication(int index);

    QLabel* m_reportTitle = nullptr;
    QGridLayout* m_options = nullptr;
    QLabel* m_numGenerationsLabel = nullptr;
    QSpinBox* m_numGenerations = nullptr;
    QRadioButton* m_rtf = nullptr;
    QRadioButton* m_rtfd = nullptr;
    QComboBox* m_rtfApps = nullptr;
    QLabel* m_progressMessage = nullptr;
    QLabel* m_counter = nullptr;
    QPushButton* m_generateButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    std::function<void(int)> m_setGenerations;
    bool m_busy = false;
    bool m_closed = false;
};
