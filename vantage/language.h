// The section of the strings file (TWain.ini) that holds the texts for the
// system's language: chosen by the ANSI code page first, then by the low
// byte of the system's default language identifier.
#pragma once

const char* LanguageSection(unsigned codePage, unsigned languageId);
