#include "shell/ui/AboutBox.h"

#include "shell/ui/ThemeIcon.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <memory>

QDialog* createAboutBox(QWidget* parent)
{
    auto* box = new QDialog(parent);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setWindowTitle(QStringLiteral("About Kinloom"));

    auto* icon = new QLabel(box);
    icon->setPixmap(themeIcon(QStringLiteral("help-about")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(box);
    name->setObjectName(QStringLiteral("name"));
    name->setText(QStringLiteral("<b><big>Kinloom</big></b><br>Version %1")
                      .arg(QCoreApplication::applicationVersion().isEmpty() ? QStringLiteral(KINLOOM_VERSION)
                                                                            : QCoreApplication::applicationVersion()));
    auto* what = new QLabel(
        QStringLiteral("Kinloom keeps a family history: people, their relationships, events, sources and pictures, "
                       "with family and hierarchy diagrams, reports, GEDCOM import and export, and web pages."),
        box);
    what->setWordWrap(true);
    auto* licences = new QLabel(
        QStringLiteral("Built with Qt %1 (GNU LGPL 3), SQLite %2 (public domain), ICU (Unicode licence), "
                       "Hunspell (GNU LGPL 2.1) and Exiv2 (GNU GPL 2). The icons are those of the desktop's theme.")
            .arg(QString::fromLatin1(qVersion()), QString::fromLatin1(sqlite3_libversion())),
        box);
    licences->setObjectName(QStringLiteral("licences"));
    licences->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addSpacing(6);
    texts->addWidget(what);
    texts->addSpacing(6);
    texts->addWidget(licences);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, box);
    QObject::connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::reject);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(row);
    layout->addWidget(buttons);
    box->setFixedWidth(460);
    return box;
}

void showAboutBox()
{
    std::unique_ptr<QDialog> box(createAboutBox(QApplication::activeWindow()));
    box->exec();
}
