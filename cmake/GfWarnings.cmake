# One place for the flags every target of the project is built with.
function(gf_apply_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -ffp-contract=off)
  if(GF_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(GF_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
