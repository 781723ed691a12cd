// wavecrest: a chat-room music player.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("wavecrest %s\n", WAVECREST_VERSION);
      return 0;
    }
  }
  std::printf(
      "wavecrest %s: the foundation is built (settings, replies, command dispatch).\n"
      "The chat room, the console front-end and playback arrive next; until then\n"
      "this program only reports its version.\n",
      WAVECREST_VERSION);
  return 0;
}
