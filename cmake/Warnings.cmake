# Strict warnings for our own targets; third-party headers come in as SYSTEM.
function(corv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
