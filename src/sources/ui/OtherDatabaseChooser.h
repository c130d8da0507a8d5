#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class FTMoc;
class QComboBox;
class QPushButton;

// The choice of the other database in the clone-sources and merge-sources windows: a list of the databases of
// a folder (at first the data folder) and a Browse button for a file elsewhere. The chosen database is opened
// beside the open one and held until another is chosen or the chooser goes; it is never saved.
//
//   auto* chooser = new OtherDatabaseChooser(openMoc);
//   connect(chooser, &OtherDatabaseChooser::databaseChanged, this, [](FTMoc* other) { ... list its sources ... });
class OtherDatabaseChooser : public QWidget {
    Q_OBJECT
public:
    // `promptKey` names the text the list shows before a choice.
    explicit OtherDatabaseChooser(FTMoc* openMoc, QWidget* parent = nullptr, const char* promptKey = "SelectADb");
    ~OtherDatabaseChooser() override;

    // The other database; null until one is open.
    FTMoc* otherMoc() const { return m_otherMoc.get(); }
    // The folder listed and browsed, the candidate file names, and the chosen one (the prompt before a choice).
    QString directory() const { return m_directory; }
    QStringList modelNames() const { return m_modelNames; }
    QString chosenName() const { return m_chosenName; }

    // Lists the candidates of the folder in the combo box, the prompt first.
    void loadModelNames();
    // Lists the databases of an older model too; choosing one says that it must be converted first ("File",
    // "BecauseOldModel") and keeps the database chosen before.
    void setOffersOlderDatabases(bool offers);
    // Opens the file of that name in the folder (the combo box's choice): the prompt is ignored, the open
    // database's own file refused with "SameDbSelected"; a file that cannot be opened leaves no other database.
    void setSourceFilename(const QString& name);
    // The open-file panel as a sheet on the window, in the folder.
    void browse();
    // The file chosen in the panel: when it holds a database of this version its folder is listed and it is
    // opened; otherwise "UnkDbModel" names it.
    void browseDidEnd(const QString& path);
    // Lets go of the other database (the window closes).
    void closeDatabase();

    QComboBox* comboBox() const { return m_comboBox; }
    QPushButton* browseButton() const { return m_browseButton; }

Q_SIGNALS:
    // The other database changed: null first while the former one is about to go (drop its records then), then
    // the new one once it is open.
    void databaseChanged(FTMoc* otherMoc);

private:
    void setPromptColour(bool prompt);

    FTMoc* m_openMoc;
    std::unique_ptr<FTMoc> m_otherMoc;
    QString m_directory;
    QString m_prompt;
    QStringList m_modelNames;
    QString m_chosenName;
    QComboBox* m_comboBox = nullptr;
    QPushButton* m_browseButton = nullptr;
    bool m_loading = false;
    bool m_offersOlderDatabases = false;
};
