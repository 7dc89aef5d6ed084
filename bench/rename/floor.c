/* The floor for renaming a folder's files in two phases: every name that
 * begins with FROM gets TO instead, first under the new name + ".TW_TEMPNAME",
 * then under the new name, each move a bare renameat2 call that never
 * replaces an entry. No preview, no checks, no undo record.
 *   floor FOLDER FROM TO */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char kTemp[] = ".TW_TEMPNAME";

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: floor FOLDER FROM TO\n");
    return 2;
  }
  const char* from = argv[2];
  const char* to = argv[3];
  const size_t fromLength = strlen(from);
  int folder = open(argv[1], O_RDONLY | O_DIRECTORY);
  DIR* dir = folder < 0 ? NULL : fdopendir(dup(folder));
  if (dir == NULL) {
    perror(argv[1]);
    return 1;
  }
  size_t count = 0, capacity = 1024;
  char** names = malloc(capacity * sizeof *names);
  for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
    if (strncmp(entry->d_name, from, fromLength) != 0) continue;
    if (count == capacity) names = realloc(names, (capacity *= 2) * sizeof *names);
    names[count++] = strdup(entry->d_name);
  }
  closedir(dir);
  char target[4096], temp[4096];
  int failures = 0;
  for (int phase = 1; phase <= 2; ++phase) {
    for (size_t i = 0; i < count; ++i) {
      snprintf(target, sizeof target, "%s%s", to, names[i] + fromLength);
      snprintf(temp, sizeof temp, "%s%s", target, kTemp);
      const char* source = phase == 1 ? names[i] : temp;
      const char* destination = phase == 1 ? temp : target;
      if (renameat2(folder, source, folder, destination, RENAME_NOREPLACE) != 0) ++failures;
    }
  }
  for (size_t i = 0; i < count; ++i) free(names[i]);
  free(names);
  close(folder);
  if (failures != 0) fprintf(stderr, "%d renames failed\n", failures);
  return failures != 0;
}
