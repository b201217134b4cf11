# Warnings and sanitizers are applied per target, never through global flags.
add_library(quippet_options INTERFACE)
target_compile_options(quippet_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align -Wnull-dereference
  $<$<BOOL:${QUIPPET_WERROR}>:-Werror>)
target_compile_definitions(quippet_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS QT_NO_FOREACH)
if(QUIPPET_SANITIZE)
  target_compile_options(quippet_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quippet_options INTERFACE -fsanitize=address,undefined)
endif()
if(QUIPPET_FUZZ)
  # Coverage for libFuzzer on everything the targets link; the fuzzer's main comes at link time.
  target_compile_options(quippet_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quippet_options INTERFACE -fsanitize=address,undefined)
endif()
