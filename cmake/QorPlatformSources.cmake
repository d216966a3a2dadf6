# Platform pieces sit in files of their own beside the shared code: foo_posix.cpp and
# foo_windows.cpp. qor_platform_sources drops from a list of sources the files that belong
# to the other platform, so each folder's glob stays a glob.
function(qor_platform_sources list_var)
  if(WIN32)
    set(other_platform "_posix\\.cpp$")
  else()
    set(other_platform "_windows\\.cpp$")
  endif()
  set(sources ${${list_var}})
  list(FILTER sources EXCLUDE REGEX "${other_platform}")
  set(${list_var} ${sources} PARENT_SCOPE)
endfunction()
