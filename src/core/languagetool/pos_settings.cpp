#include "core/languagetool/pos_settings.h"

namespace lexaloom {

namespace {

struct BuiltInRule {
    const char *source;
    const char *target;
    const char *comment;
};

constexpr BuiltInRule portugueseRules[] = {
    {"[CAT=np,G=f,SEM=p]", "NPFS000", "Proper name - Female"},
    {"[CAT=np,G=f]", "NPFS000", "Proper name - Female"},
    {"[CAT=np,N=s,G=f]", "NPFS000", "Proper name - Female"},
    {"[LA=1,CAT=np,SEM=country,G=f,N=s]", "NPFSG00", "Place name - Country - Female"},
    {"[CAT=np,SEM=country,G=f,N=s]", "NPFSG00", "Place name - Country - Female"},
    {"[LA=1,CAT=np,SEM=country,G=f,N=s,N=p]", "NPFPG00", "Place name - Country - Female"},
    {"[CAT=np,SEM=country,G=f,N=s,N=p]", "NPFPG00", "Place name - Country - Female"},
    {"[LA=1,CAT=np,SEM=ter,G=f,N=s]", "NPFSG00", "Place name - City - Female"},
    {"[CAT=np,SEM=ter,G=f,N=s]", "NPFSG00", "Place name - City - Female"},
    {"[CAT=np,SEM=cid,G=f,N=s]", "NPFSG00", "Place name - City - Female"},
    {"[LA=1,CAT=np,SEM=cid,G=f,N=s]", "NPFSG00", "Place name - City - Female"},
    {"[LA=1,CAT=np,SEM=ter,G=f,N=p]", "NPFPG00", "Place name - Place - Female"},
    {"[CAT=np,G=m,SEM=p]", "NPMS000", "Proper name - Male"},
    {"[CAT=np,G=m]", "NPMS000", "Proper name - Male"},
    {"[CAT=np,G=m,SEM=p1]", "NPMS000", "Proper name - Male"},
    {"[LA=1,CAT=np,SEM=country,G=m,N=s]", "NPMSG00", "Place name - Country - Male"},
    {"[CAT=np,SEM=country,G=m,N=s]", "NPMSG00", "Place name - Country - Male"},
    {"[LA=1,CAT=np,SEM=ter,G=m,N=s]", "NPMSG00", "Place name - City - Male"},
    {"[CAT=np,SEM=ter,G=m,N=s]", "NPMSG00", "Place name - City - Male"},
    {"[CAT=np,SEM=cid,G=m,N=s]", "NPMSG00", "Place name - City - Male"},
    {"[LA=1,CAT=np,SEM=cid,G=m,N=s]", "NPMSG00", "Place name - City - Male"},
    {"[LA=1,CAT=np,SEM=ter,G=m,N=p]", "NPMPG00", "Place name - Place - Male"},
    {"[LA=1,CAT=np,SEM=rio]", "NPMS000", "Place name - River - Male"},
};

constexpr BuiltInRule englishRules[] = {
    {"Adjective", "JJ", "Adjective: beautiful, large, inspectable"},
    {"Adjective: comparative", "JJR", "Adjective, comparative: larger, quicker"},
    {"Adjective: superlative", "JJS", "Adjective, superlative: largest, quickest"},
    {"Adverb", "RB", "Adverb and negation: easily, sunnily, suddenly, specifically, not"},
    {"Adverb: comparative", "RBR", "Adverb, comparative: better, faster, quicker"},
    {"Adverb: superlative", "RBS", "Adverb, superlative: best, fastest, quickest"},
    {"Noun: uncountable", "NN:U", "Noun: uncountable"},
};

// Taxonomic ranks map to proper nouns; their comment repeats the source.
constexpr const char *taxonomicRanks[] = {
    "Taxonomic clade",     "Taxonomic class",      "Taxonomic division",
    "Taxonomic family",    "Taxonomic genus",      "Taxonomic infraclass",
    "Taxonomic kingdom",   "Taxonomic order",      "Taxonomic phylum",
    "Taxonomic phylum + Taxonomic class",          "Taxonomic realm",
    "Taxonomic subclass",  "Taxonomic subfamily",  "Taxonomic subgenus",
    "Taxonomic subkingdom", "Taxonomic suborder",  "Taxonomic subphylum",
    "Taxonomic superclass", "Taxonomic superorder", "Taxonomic tribe",
};

QString joinRule(const char *source, const char *target, const char *comment)
{
    return QString::fromUtf8(source) + QLatin1Char('\n') + QString::fromUtf8(target) + QLatin1Char('\n')
           + QString::fromUtf8(comment);
}

} // namespace

PosSettings PosSettings::builtIn()
{
    PosSettings pos;
    pos.languages = {QStringLiteral("Other"), QStringLiteral("Portuguese"), QStringLiteral("English")};
    QStringList portuguese;
    for (const BuiltInRule &r : portugueseRules)
        portuguese.append(joinRule(r.source, r.target, r.comment));
    QStringList english;
    for (const BuiltInRule &r : englishRules)
        english.append(joinRule(r.source, r.target, r.comment));
    for (const char *rank : taxonomicRanks)
        english.append(joinRule(rank, "NNP", rank));
    pos.rules = {QStringList(), portuguese, english};
    pos.selectedLanguage = defaultSelectedLanguage;
    return pos;
}

} // namespace lexaloom
