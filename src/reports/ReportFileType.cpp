#include "reports/ReportFileType.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

QString ReportFileType::refusal(const QString& fileType, const QString& /*application*/, bool /*pictures*/)
{
    if (fileType == QLatin1String("rtfd"))
        return LocalizedString(QStringLiteral("FileValidationRtfd"));
    return {};
}

bool ReportFileType::validateFileType(const QString& fileType, bool pictures)
{
    QString application = UserDefaults::standard().stringForKey(QStringLiteral("rtfApplication"));
    const QString reason = refusal(fileType, application, pictures);
    if (reason.isEmpty())
        return true;
    if (application.isEmpty())
        application = LocalizedString(QStringLiteral("DefaultRtfApplication"));
    const QString text = QStringLiteral("%1\n\n%2").arg(LocalizedString(QStringLiteral("Unsuitable")), reason);
    const QString info = QStringLiteral("File type = %1\nWord processor = %2\nIncludes pictures = %3\n\n")
                             .arg(fileType, application, pictures ? QStringLiteral("YES") : QStringLiteral("NO"));
    // Closing the alert without a choice cancels.
    const int button = Prompts::current().chooseWithEscape(QStringLiteral("Kinloom Reports"), text, info,
        { LocalizedString(QStringLiteral("CancelTheReport")), LocalizedString(QStringLiteral("Continue")) }, 0);
    return button == 1;
}
