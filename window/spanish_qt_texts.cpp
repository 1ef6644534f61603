// Qt's translations loaded, and the key names as Spanish keyboards name them.
#include "spanish_qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstring>

namespace {

// Qt's Spanish writes the keys out in full, "Control+Mayúsculas+C"; Spanish
// keyboards and menus elsewhere, and this program's help and manual, say
// "Ctrl+Mayús+C".
class KeyNames : public QTranslator {
public:
    using QTranslator::QTranslator;

    [[nodiscard]] bool isEmpty() const override { return false; }

    [[nodiscard]] QString translate(const char *context, const char *source, const char *,
                                    int) const override
    {
        if (std::strcmp(context, "QShortcut") != 0)
            return {};
        if (std::strcmp(source, "Ctrl") == 0)
            return QStringLiteral("Ctrl");
        if (std::strcmp(source, "Shift") == 0)
            return QStringLiteral("Mayús");
        return {};
    }
};

} // namespace

void translateQtIntoSpanish()
{
    // For the whole run; Spanish whatever the system's language, as every other text is.
    static QTranslator qtTexts;
    static KeyNames keyNames;
    for (const QString &folder :
         {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (qtTexts.load(QStringLiteral("qtbase_es"), folder)) {
            QCoreApplication::installTranslator(&qtTexts);
            // Asked first, as the one installed last.
            QCoreApplication::installTranslator(&keyNames);
            return;
        }
    }
}
