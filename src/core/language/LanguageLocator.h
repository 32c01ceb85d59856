#pragma once

#include <QString>

// Where the program finds its texts and its help page.
//
// language.dat beside the executable wins: that is the build folder, or a file the user put
// there on purpose. An installed program keeps one folder per language under
// <prefix>/share/trv730/ instead; TRV730_LANGUAGE picks one of them by name, otherwise the
// user's locale does (Russian for ru*, English for everything else).
namespace LanguageLocator {

// <exeDir>/../share/trv730, where an installed program keeps its languages and help.
QString InstalledDataDir(const QString& exeDir);

// "ru" for a Russian locale name (ru, ru_RU.UTF-8, ru_UA...), "en" for any other.
QString LanguageForLocale(const QString& localeName);

// The locale that decides the language of messages: LC_ALL, else LC_MESSAGES, else LANG.
QString MessagesLocaleName();

// The language file to load, or an empty text when there is none. requested is a language
// folder name (TRV730_LANGUAGE); a name that is not a plain folder name, or whose folder
// holds no language file, is passed over for the locale's language.
QString FindLanguageFile(const QString& exeDir, const QString& requested, const QString& localeName);

// The same lookup for the running program (its executable, TRV730_LANGUAGE, its locale).
QString FindLanguageFile();

// The help page that goes with the language table in use: help.html beside its file.
QString HelpPage();

}  // namespace LanguageLocator
