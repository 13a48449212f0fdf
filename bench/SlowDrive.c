/* A slow drive for Varnolt under Wine: a Linux shared library preloaded
 * into Wine's processes (LD_PRELOAD) that delays, in the program's own
 * process, its first access to each file or folder whose path holds the
 * disc's mark, as a CD or DVD drive does: a seek when a folder's records are
 * first read (to look a name up in it, or to list it), a seek when a file's
 * data is first read, and the transfer of each byte read the first time.
 *
 * Under Wine the server opens files for the program, but the program's own
 * process looks every path up (stat, open of folders) before it asks, and
 * reads the files itself: so the delays are taken there, by the thread that
 * asked, where they hold up the program as a drive would.
 *
 *   VARNOLT_SLOW_MARK     what a path must hold to lie on the drive
 *   VARNOLT_SLOW_CONFIG   a file naming the process to delay and the cost of
 *                         a first access in ms: "Varnolt.exe 100" (0: no
 *                         delay). A Windows program cannot hand a child
 *                         Unix settings of its own (Wine starts the child
 *                         with the Unix environment it started with), so
 *                         they come from this file, read when the program
 *                         first touches the drive.
 *   VARNOLT_SLOW_RATE     bytes per second of first reads (default 6 MB/s)
 *   VARNOLT_SLOW_LOG      a file to which each first access is appended,
 *                         with the process and the time in ms: "seek PATH",
 *                         "read PATH BYTES" (bytes not read before), and
 *                         "head PATH" (a read from the file's start)
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#define kMaxPaths 4096
#define kMaxPath 1024

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static char seen[kMaxPaths][kMaxPath]; /* paths accessed before */
static long long readUpTo[kMaxPaths];  /* how far each was read */
static int seenCount;
static int ours = -1; /* this is the process to delay: -1 not known yet */
static long long seekUs;

static const char* Setting(const char* name) {
  const char* value = getenv(name);
  return value && *value ? value : NULL;
}

static int Ours(void) {
  if (ours == 1) return 1;
  const char* config = Setting("VARNOLT_SLOW_CONFIG");
  char want[256] = "";
  long long ms = 0;
  FILE* file = config ? fopen(config, "r") : NULL;
  if (!file) return 0;
  if (fscanf(file, "%255s %lld", want, &ms) != 2) want[0] = 0;
  fclose(file);
  char name[64] = "";
  FILE* comm = fopen("/proc/self/comm", "r");
  if (!comm) return 0;
  if (!fgets(name, sizeof name, comm)) name[0] = 0;
  fclose(comm);
  name[strcspn(name, "\n")] = 0;
  /* Wine names the process after the program (cut to 15 characters) only
   * once it runs it. */
  if (name[0] && want[0] && strncasecmp(name, want, strlen(name)) == 0) {
    ours = 1;
    seekUs = ms * 1000;
  }
  return ours == 1;
}

static int OnDrive(const char* path) {
  const char* mark = Setting("VARNOLT_SLOW_MARK");
  return path && mark && strstr(path, mark) && Ours();
}

static void Wait(long long microseconds) {
  if (microseconds <= 0) return;
  struct timespec t = {microseconds / 1000000, (microseconds % 1000000) * 1000};
  while (nanosleep(&t, &t) != 0) {
  }
}

static void Log(const char* what, const char* path, long long bytes) {
  const char* file = Setting("VARNOLT_SLOW_LOG");
  if (!file) return;
  int (*realOpen)(const char*, int, ...) = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open");
  int fd = realOpen(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  char line[kMaxPath + 64];
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const long long ms = now.tv_sec * 1000LL + now.tv_nsec / 1000000;
  int n = bytes >= 0
              ? snprintf(line, sizeof line, "%s %s %lld %d %lld\n", what, path, bytes,
                         (int)getpid(), ms)
              : snprintf(line, sizeof line, "%s %s %d %lld\n", what, path, (int)getpid(), ms);
  if (n > 0) (void)!write(fd, line, (size_t)(n < (int)sizeof line ? n : (int)sizeof line - 1));
  close(fd);
}

/* The index of `path` among the paths seen, added when new; *isNew says so. */
static int Find(const char* path, int* isNew) {
  *isNew = 0;
  for (int i = 0; i < seenCount; ++i)
    if (strcmp(seen[i], path) == 0) return i;
  if (seenCount == kMaxPaths || strlen(path) >= kMaxPath) return -1;
  strcpy(seen[seenCount], path);
  readUpTo[seenCount] = 0;
  *isNew = 1;
  return seenCount++;
}

/* The first access of `key` (a folder, or a file's data) costs a seek. */
static void Seek(const char* key) {
  int isNew;
  pthread_mutex_lock(&lock);
  const int known = Find(key, &isNew);
  pthread_mutex_unlock(&lock);
  if (known < 0 || !isNew) return;
  Log("seek", key, -1);
  Wait(seekUs);
}

/* `given` on the drive, without a trailing slash, into `path`; 0 when the
 * path is not on the drive. */
static int OnDriveAs(const char* given, char path[kMaxPath]) {
  if (!OnDrive(given)) return 0;
  snprintf(path, kMaxPath, "%s", given);
  size_t length = strlen(path);
  while (length > 1 && path[length - 1] == '/') path[--length] = 0;
  return 1;
}

/* A path is looked up in the folder that holds it: the first time, the
 * drive reads that folder's records (a seek); afterwards names and
 * attributes of its entries come back at once, as on a CD. */
static void Access(const char* given) {
  char folder[kMaxPath];
  if (!OnDriveAs(given, folder)) return;
  char* slash = strrchr(folder, '/');
  if (!slash || slash == folder) return;
  while (slash > folder && slash[-1] == '/') --slash; /* "a//b" is in "a" */
  *slash = 0;
  if (strstr(folder, Setting("VARNOLT_SLOW_MARK"))) Seek(folder);
}

/* A folder opened to be listed: its own records are read. */
static void List(const char* given) {
  char folder[kMaxPath];
  if (OnDriveAs(given, folder)) Seek(folder);
}

/* The first read of a file seeks to its data; bytes not read before cost
 * their transfer. */
static void Read(int fd, long long offset, long long count) {
  struct stat st;
  if (count <= 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return;
  char link[64], path[kMaxPath];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, path, sizeof path - 1);
  if (length <= 0) return;
  path[length] = 0;
  if (!OnDrive(path)) return;
  Seek(path); /* the system's name for the open file: its data */
  if (offset < 0) offset = lseek(fd, 0, SEEK_CUR) - count; /* read() has moved on */
  const char* rateSetting = Setting("VARNOLT_SLOW_RATE");
  const long long rate = rateSetting ? atoll(rateSetting) : 6000000;
  long long fresh = 0;
  int isNew;
  pthread_mutex_lock(&lock);
  const int i = Find(path, &isNew);
  if (i >= 0 && offset + count > readUpTo[i]) {
    fresh = offset + count - (offset > readUpTo[i] ? offset : readUpTo[i]);
    readUpTo[i] = offset + count;
  }
  pthread_mutex_unlock(&lock);
  if (fresh > 0) Log("read", path, fresh);
  if (offset == 0) Log("head", path, -1); /* a file read from its start again */
  if (seekUs > 0 && rate > 0) Wait(fresh * 1000000 / rate);
}

/* The library's own function of that name, found once. */
#define REAL(name)                      \
  static __typeof__(&name) real_##name; \
  if (!real_##name) real_##name = (__typeof__(&name))dlsym(RTLD_NEXT, #name)

int stat(const char* path, struct stat* buf) {
  REAL(stat);
  Access(path);
  return real_stat(path, buf);
}

int lstat(const char* path, struct stat* buf) {
  REAL(lstat);
  Access(path);
  return real_lstat(path, buf);
}

int fstatat(int dir, const char* path, struct stat* buf, int flags) {
  REAL(fstatat);
  if (path[0] == '/') Access(path);
  return real_fstatat(dir, path, buf, flags);
}

static int OpenWith(const char* symbol, int dir, const char* path, int flags, mode_t mode) {
  if (path && path[0] == '/') {
    if (flags & O_DIRECTORY)
      List(path);
    else
      Access(path);
  }
  if (dir == -1) {
    int (*real)(const char*, int, ...) = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, symbol);
    return real(path, flags, mode);
  }
  int (*real)(int, const char*, int, ...) =
      (int (*)(int, const char*, int, ...))dlsym(RTLD_NEXT, symbol);
  return real(dir, path, flags, mode);
}

static mode_t ModeOf(int flags, va_list args) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(args, int) : 0;
}

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenWith("open", -1, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenWith("open64", -1, path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenWith("openat", dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenWith("openat64", dir, path, flags, mode);
}

ssize_t read(int fd, void* buf, size_t count) {
  REAL(read);
  const ssize_t got = real_read(fd, buf, count);
  if (got > 0) Read(fd, -1, got);
  return got;
}

ssize_t pread(int fd, void* buf, size_t count, off_t offset) {
  REAL(pread);
  const ssize_t got = real_pread(fd, buf, count, offset);
  if (got > 0) Read(fd, offset, got);
  return got;
}

ssize_t pread64(int fd, void* buf, size_t count, off_t offset) {
  REAL(pread64);
  const ssize_t got = real_pread64(fd, buf, count, offset);
  if (got > 0) Read(fd, offset, got);
  return got;
}
