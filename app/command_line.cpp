// What the program answers without a window: --help and --version.
#include "command_line.h"

#include "klimora_config.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view help =
    "Uso: klimora [opciones de Qt]\n"
    "\n"
    "Calcula las frigorías por hora que necesita el aire acondicionado de una\n"
    "habitación. Sin argumentos abre la ventana con las seis preguntas.\n"
    "\n"
    "Opciones:\n"
    "  -h, --help     muestra esta ayuda y termina\n"
    "  -v, --version  muestra la versión y termina\n"
    "\n"
    "Teclas:\n"
    "  Ctrl+D         abre el detalle del cálculo (también en el menú\n"
    "                 contextual del resultado)\n"
    "  Ctrl+Mayús+C   copia el enlace de la página web que abre este cálculo\n"
    "                 (mientras el total es el de las respuestas)\n"
    "  Ctrl+Mayús+V   abre un enlace de la página web: pone sus respuestas\n"
    "                 y calcula (también en el menú contextual)\n"
    "\n"
    "También acepta las opciones estándar de Qt, como -platform o -style.\n";

constexpr std::string_view version = "Klimora " KLIMORA_DISPLAY_VERSION "\n";

int print(std::string_view text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

std::optional<int> answerInformationOptions(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help")
            return print(help);
        if (argument == "-v" || argument == "--version")
            return print(version);
    }
    return std::nullopt;
}

void preferDesktopTitleBar(int argc, const char *const *argv)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform")
            return;
    }
    // Wayland stays the fallback: a stale DISPLAY may name no X server at all.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
}
