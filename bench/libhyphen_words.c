/* libhyphen's reading of the same patterns: each word of standard input (lower-cased
 * by the caller, as the office suite does) through hnj_hyphen_hyphenate2, printed as
 * "word<TAB>hyphenated" with "-" at the breaks.
 *
 *   cc -O2 -o libhyphen_words bench/libhyphen_words.c -lhyphen
 *   libhyphen_words hyph_en_US.dic < words
 */
#include <hyphen.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: libhyphen_words PATTERNS < WORDS\n");
        return 2;
    }
    HyphenDict *dict = hnj_hyphen_load(argv[1]);
    if (!dict) {
        fprintf(stderr, "libhyphen_words: cannot load %s\n", argv[1]);
        return 2;
    }
    char line[4096];
    while (fgets(line, sizeof line, stdin)) {
        size_t n = strcspn(line, "\r\n");
        line[n] = '\0';
        char hyphens[sizeof line + 5];
        char hyphenated[sizeof line * 2];
        char **rep = NULL;
        int *pos = NULL;
        int *cut = NULL;
        if (hnj_hyphen_hyphenate2(dict, line, (int)n, hyphens, hyphenated, &rep, &pos, &cut) != 0)
            strcpy(hyphenated, line);
        for (char *c = hyphenated; *c; ++c)
            if (*c == '=')
                *c = '-';
        printf("%s\t%s\n", line, hyphenated);
        if (rep) {
            for (size_t i = 0; i < n; ++i)
                free(rep[i]);
            free(rep);
            free(pos);
            free(cut);
        }
    }
    hnj_hyphen_free(dict);
    return 0;
}
