#include "core/dictionary/aff_text.h"
#include "core/dictionary/dictionary_document.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/hyphenation/hyphenation_text.h"

#include <gtest/gtest.h>

using namespace lexaloom;

// An edit in a pane is a change of its document, even one that leaves the text as it was.
TEST(PaneTextTest, EditsMarkTheDocumentChanged)
{
    for (const QString &text : {QStringLiteral("SET UTF-8\nTRY e"), QString()}) {
        DictionaryDocument dictionary;
        SetAffText(dictionary, text);
        EXPECT_EQ(dictionary.affText, text);
        EXPECT_TRUE(dictionary.changed);

        HyphenationDocument hyphenation;
        SetHyphenationText(hyphenation, text);
        EXPECT_EQ(hyphenation.text, text);
        EXPECT_TRUE(hyphenation.changed);
        EXPECT_EQ(hyphenation.isEmpty(), text.isEmpty());
    }
}
