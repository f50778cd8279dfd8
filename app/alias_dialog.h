// TfrmAlias: the dialog that defines a database alias, "Database Alias": its
// name, its engine (SQLite, PostgreSQL, dBASE) and its location (a database
// file, a connection URI or keyword string, a directory of .dbf files), and
// a "&Test" button that opens the database and says what it found, in the
// dialog itself. "&Browse..." chooses a database file or a folder of .dbf
// files; the empty location shows an example of the engine's form. "&OK" accepts a named alias with a location, "&Cancel"
// leaves it. Passwords are better kept in PGPASSWORD or ~/.pgpass than in
// the location, which is stored in the options file as it is.
#pragma once

#include <QDialog>

#include "tables/database_location.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmAlias : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAlias(QWidget *parent);

    // Fills the fields; the name can be changed only for a new alias.
    void Load(const CAliasDefinition &alias, bool isNew);
    CAliasDefinition Alias() const;
    // Opens the alias's database and shows the outcome in lbTestResult.
    void TestConnection();
    // Chooses the location in a file dialog: a file, or for dBASE a folder.
    void BrowseLocation();

    QLineEdit *edName, *edLocation;
    QComboBox *cbEngine;
    QPushButton *bttTest, *bttOK, *bttCancel, *bttBrowse;
    QLabel *lbTestResult;

private:
    // OK and Test need a name and a location; Browse and the example
    // location follow the engine.
    void UpdateControls();
};
