#pragma once

#include <QString>

// The typefaces the program asks for by their Windows names, and what stands
// in for them here: Tahoma is Wine's metric-compatible Tahoma, loaded from its
// file as an application font; Arial is Liberation Sans.

inline constexpr const char* TahomaFontName = "Tahoma";
inline constexpr const char* ArialFontName = "Arial";

// Loads the application fonts once (safe to call again); needs a
// QGuiApplication. Returns false when a font file could not be loaded; the
// family then falls back to what the system substitutes.
bool LoadApplicationFonts();

// The family to give QFont for a Windows font name; other names come back
// unchanged. Calls LoadApplicationFonts.
QString FontFamily(const QString& windowsName);
