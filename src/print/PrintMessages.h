#pragma once

// Messages of the printouts, shared by the print centre, the preview and rur-cli.

namespace rur::print {

inline constexpr char16_t kPrintFailed[] = u"Tisk se nepodařilo vytvořit.";
inline constexpr char16_t kSendingToPrinter[] = u"Odesílám data do tiskárny ...";
inline constexpr char16_t kPreparingPreview[] = u"Připravuje se náhled před tiskem ...";
inline constexpr char16_t kShownPageWillPrint[] = u"Bude vytištěna zobrazená stránka.";
inline constexpr char16_t kAllPagesWillPrint[] = u"Budou vytištěny všechny stránky.";

}  // namespace rur::print
