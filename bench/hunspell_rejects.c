/* Prints the lines of stdin that Hunspell's checker rejects as whole words.
 * Unlike `hunspell -l`, which splits lines into tokens at spaces, leading
 * apostrophes and hyphens, this checks each derived form as one word.
 * Built against the runtime library only (no -dev package needed):
 *   cc -O2 bench/hunspell_rejects.c -o hunspell_rejects -l:libhunspell-1.7.so.0
 * Usage: hunspell_rejects AFF DIC < forms.txt */
#include <stdio.h>
#include <string.h>

typedef struct Hunhandle Hunhandle;
Hunhandle *Hunspell_create(const char *affpath, const char *dpath);
int Hunspell_spell(Hunhandle *h, const char *word);
void Hunspell_destroy(Hunhandle *h);

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: hunspell_rejects AFF DIC < forms\n");
        return 2;
    }
    Hunhandle *h = Hunspell_create(argv[1], argv[2]);
    static char line[65536];
    int first = 1;
    while (fgets(line, sizeof line, stdin)) {
        char *word = line;
        if (first && strncmp(word, "\xEF\xBB\xBF", 3) == 0)
            word += 3;
        first = 0;
        word[strcspn(word, "\r\n")] = 0;
        if (!Hunspell_spell(h, word))
            puts(word);
    }
    Hunspell_destroy(h);
    return 0;
}
