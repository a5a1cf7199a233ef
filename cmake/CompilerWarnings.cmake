# Shared warning and sanitizer settings for every target of the project.
function(kavel_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(KAVEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(KAVEL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
