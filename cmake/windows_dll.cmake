# Links one of the add-on's DLLs, RALLY.DLL or Sceneward.dll, from its Win32
# glue and the libraries under it (LIBRARIES, in link order).
#
# No C runtime start-up code of our own: it would bring a TLS directory,
# which Windows 9x cannot give a DLL loaded at run time. The entry point is
# DllEntry, the C runtime is the system's msvcrt.dll, nothing needs
# constructors run at load, and the imports are KERNEL32, USER32 and
# ADVAPI32 only. DLL code has no exceptions and no RTTI.
function(aerilon_windows_dll target file_name)
  get_filename_component(name ${file_name} NAME_WLE)
  get_filename_component(suffix ${file_name} LAST_EXT)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} PREFIX "" SUFFIX ${suffix})
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables)
  target_link_libraries(${target} PRIVATE ${ARGN})
  target_link_options(${target} PRIVATE
    -nostartfiles -Wl,-e,_DllEntry@12
    -static-libgcc -s
    -Wl,--kill-at -Wl,--gc-sections
    -Wl,--subsystem,windows:4.0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--enable-stdcall-fixup)
  target_link_libraries(${target} PRIVATE msvcrt gcc user32 kernel32 advapi32)
endfunction()
