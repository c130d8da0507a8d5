#include "diagrams/ui/SaveDiagramToFile.h"

#include "diagrams/DiagramFileName.h"

#include "shell/SystemFlags.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/PersonEditorPane.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageWriter>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStatusBar>

#include <cmath>

namespace {
// Around the window in the PDF file, in the window's pixels: left and right, top and bottom.
constexpr int kSideMargin = 25;
constexpr int kTopMargin = 35;
// The largest picture of the diagram in the save dialog.
constexpr QSize kPreviewSize(240, 150);

QString defaultFilePanel(const QString& proposedPath, const QImage& picture)
{
    const QFileInfo proposed(proposedPath);
    QFileDialog dialog(QApplication::activeWindow(), LocalizedString(QStringLiteral("SaveDiagramPanelTitle")),
                       proposed.absolutePath(), LocalizedString(QStringLiteral("SaveDiagramJpegFilter")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The picture is shown beside the file list, which only the dialog of Qt's own lets us add.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(QStringLiteral("JPG"));
    dialog.selectFile(proposed.fileName());
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, PanelColour());
    dialog.setPalette(palette);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        // A small picture under the file list and the name field, which keep their room.
        auto* preview = new QLabel;
        preview->setObjectName(QStringLiteral("preview"));
        preview->setPixmap(QPixmap::fromImage(
            picture.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        preview->setAlignment(Qt::AlignCenter);
        grid->addWidget(preview, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

SaveDiagramToFile::FilePanel& filePanel()
{
    static SaveDiagramToFile::FilePanel panel = defaultFilePanel;
    return panel;
}

void reportFailure(const QString& path, const QString& reason)
{
    Prompts::current().message(QStringLiteral("Failed to save the diagram"),
                               QStringLiteral("%1\n\n%2").arg(path, reason));
}

// Where the file went, in the window's status line for a while (the line leaves again with its message).
void tellWhereSaved(QMainWindow* window, const QString& path)
{
    if (!window)
        return;
    QStatusBar* line = window->findChild<QStatusBar*>(QStringLiteral("savedNotice"), Qt::FindDirectChildrenOnly);
    if (!line) {
        line = new QStatusBar(window);
        line->setObjectName(QStringLiteral("savedNotice"));
        QObject::connect(line, &QStatusBar::messageChanged, line, [line](const QString& message) {
            if (message.isEmpty())
                line->hide();
        });
        window->setStatusBar(line);
    }
    line->show();
    line->showMessage(LocalizedString(QStringLiteral("DiagramSavedAs")).arg(QDir::toNativeSeparators(path)), 20000);
}

FTPerson* focalPersonOf(const DOvurDocument& document)
{
    return document.moc() ? document.moc()->focalPerson() : nullptr;
}
}

void SaveDiagramToFile::setFilePanel(FilePanel panel)
{
    filePanel() = panel ? std::move(panel) : FilePanel(defaultFilePanel);
}

void SaveDiagramToFile::saveDiagramToFile(DOvurDocument& document)
{
    if (!document.dovurWindow() || !document.pcd())
        return;
    document.endEditing();
    const int answer = Prompts::current().chooseWithTitle(
        QStringLiteral("Print"), QStringLiteral("Full Window or Diagram Only?"),
        QStringLiteral("Full Window - saved as a PDF file and displayed in your PDF viewer\n\n"
                       "Diagram Only - saved as a JPEG image\n\n"),
        {QStringLiteral("Full Window"), QStringLiteral("Diagram Only"), QStringLiteral("Cancel")});
    if (answer == 0)
        saveFullWindow(document);
    else if (answer == 1)
        saveDiagramOnly(document);
}

QString SaveDiagramToFile::saveFullWindow(DOvurDocument& document)
{
    QMainWindow* window = document.dovurWindow();
    if (!window)
        return {};
    const QString folder = Utils::reportsDirectory();
    const QString path = DiagramFileName::path(folder, focalPersonOf(document), QStringLiteral("PDF"));
    if (folder.isEmpty()) {
        reportFailure(path, LocalizedString(QStringLiteral("SaveDiagramNoReportsFolder")));
        return {};
    }
    if (PersonEditorPane* editor = document.pInfoArea())
        editor->prepareForPrinting();
    const bool written = writeFile(path, [&](QIODevice& device, QString*) {
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("Kinloom"));
        writer.setTitle(QFileInfo(path).completeBaseName());
        // One unit of the page is one pixel of the window, so that its texts keep their sizes.
        const int dpi = window->logicalDpiX();
        writer.setResolution(dpi);
        const QSizeF pixels = QSizeF(window->size()) + QSizeF(2 * kSideMargin, 2 * kTopMargin);
        writer.setPageSize(QPageSize(pixels * 72.0 / dpi, QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF());
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        gPrinting = true;
        window->render(&painter, QPoint(kSideMargin, kTopMargin));
        gPrinting = false;
        // The diagram's lines to people off its edges run on past the window here (a PDF file keeps no clip of
        // a widget's own): the margin is painted over afterwards.
        const QRectF page(QPointF(), pixels);
        const QRectF inside = page.adjusted(kSideMargin, kTopMargin, -kSideMargin, -kTopMargin);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(page.topLeft(), QPointF(page.right(), inside.top())));
        painter.drawRect(QRectF(QPointF(page.left(), inside.bottom()), page.bottomRight()));
        painter.drawRect(QRectF(QPointF(page.left(), inside.top()), inside.bottomLeft()));
        painter.drawRect(QRectF(inside.topRight(), QPointF(page.right(), inside.bottom())));
        return painter.end();
    });
    if (!written)
        return {};
    tellWhereSaved(window, path);
    Utils::displayFile(path, QString());
    return path;
}

QString SaveDiagramToFile::saveDiagramOnly(DOvurDocument& document)
{
    FamilyDiagramPane* pcd = document.pcd();
    if (!pcd)
        return {};
    QPixmap grabbed = pcd->grab();
    grabbed.setDevicePixelRatio(1);
    const QImage picture = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
    const QString proposed =
        DiagramFileName::path(Utils::reportsDirectory(), focalPersonOf(document), QStringLiteral("JPG"));
    QString path = filePanel()(proposed, picture);
    Utils::sleep(50);
    if (path.isEmpty())
        return {};
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg")) {
        path += QStringLiteral(".JPG");
        // The dialog asked about the name as typed, not about this one.
        if (QFileInfo::exists(path)
            && Prompts::current().choose(
                   LocalizedString(QStringLiteral("SaveDiagramReplaceQuestion")).arg(QFileInfo(path).fileName()),
                   LocalizedString(QStringLiteral("SaveDiagramReplaceInfo")),
                   {LocalizedString(QStringLiteral("SaveDiagramReplaceButton")), LocalizedString(QStringLiteral("Cancel"))})
                != 0)
            return {};
    }
    const bool written = writeFile(path, [&](QIODevice& device, QString* reason) {
        QImageWriter writer(&device, "jpg");
        if (writer.write(picture))
            return true;
        *reason = writer.errorString();
        return false;
    });
    if (!written)
        return {};
    tellWhereSaved(document.dovurWindow(), path);
    const QStringList applications = Utils::applicationsThatOpenFile(path);
    if (!applications.isEmpty())
        Utils::displayFile(path, applications.constFirst());
    return path;
}

bool SaveDiagramToFile::writeFile(const QString& path, const std::function<bool(QIODevice&, QString*)>& write)
{
    // All or nothing: a file that was there stays as it was unless the new one is complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reportFailure(path, file.errorString());
        return false;
    }
    QString reason;
    if (!write(file, &reason)) {
        if (file.error() != QFileDevice::NoError)
            reason = file.errorString();
        else if (reason.isEmpty())
            reason = LocalizedString(QStringLiteral("SaveDiagramNotWritten"));
        file.cancelWriting();
        reportFailure(path, reason);
        return false;
    }
    if (!file.commit()) {
        reportFailure(path, file.errorString());
        return false;
    }
    return true;
}
