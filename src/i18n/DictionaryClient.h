#pragma once

// What the dictionary calls after each change of language or locale (the window translators).
class DictionaryClient
{
public:
    virtual ~DictionaryClient() = default;
    virtual void dictionaryChanged(bool languageChanged, bool localeChanged) = 0;
};
