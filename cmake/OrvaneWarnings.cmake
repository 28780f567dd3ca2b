# Compile options every target of ours carries: warnings are defects, and the effect's arithmetic is
# specified to the last float rounding, so no fast-math and no FMA contraction.
add_library(orvane_options INTERFACE)
target_compile_features(orvane_options INTERFACE cxx_std_17)
target_compile_options(orvane_options INTERFACE -Wall -Wextra -Werror -ffp-contract=off -fno-fast-math)

if(ORVANE_SANITIZE)
  string(REPLACE ";" "," _orvane_sanitizers "${ORVANE_SANITIZE}")
  add_compile_options(-fsanitize=${_orvane_sanitizers} -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${_orvane_sanitizers})
  if("undefined" IN_LIST ORVANE_SANITIZE)
    add_compile_options(-fno-sanitize-recover=all)
  endif()
endif()
