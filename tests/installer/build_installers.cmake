# cmake -DMAKENSIS=... [-DWIXL=... -DMSIINFO=...] [-DRUN_X86=ON | -DX86_KIT=ON [-DISCC=... -DRUN=...]]
#   -DBUILD_DIR=... -DHERE=... -P build_installers.cmake
# Builds the installers that the installer tests run, with warnings as errors, for NSIS's
# x86-unicode stubs where they can run (RUN_X86: on Windows itself, when this NSIS has them),
# which is what most installers are, and for amd64-unicode elsewhere (this Wine runs 64-bit
# programs only); from a 32-bit build's kit (X86_KIT), which holds the x86 programs alone, for the
# x86 stubs only:
# - the example, from what `cmake --install` ships (installer-kit/), with a stand-in jar;
# - checks.exe from checks.nsi, and copies whose QUENZ_EXE is no Quenz: a program that says
#   nothing (checks-mute.exe), a file that is no program at all (checks-broken.exe) and a program
#   that never ends, with a limit of 2 s (checks-never-ends.exe); one that behaves as on a
#   volume without short (8.3) names, and one that does so under Windows' UTF-8 setting, the ANSI
#   code page 65001 (checks-utf8.exe);
# - languages.exe from languages.nsi, in Portuguese and English, its texts LangStrings;
# - checks.nsi for every stub this NSIS has (all three where RUN_X86 is off);
# - with wixl, the MSI package of product.wxs, 64-bit or from an X86_KIT 32-bit, which includes
#   Quenz.wxi from the kit: version 1
#   (product.msi), version 2, which replaces it (product-v2.msi), and version 1 from kits whose
#   Quenz.exe is no program (product-broken.msi) or prints without end
#   (product-prints-forever.msi), one whose Property table has the box's texts in English
#   (product-en.msi), and version 1 with QuenzDetect scheduled before the guard, from the kit and
#   from the broken one (product-detect.msi, product-broken-detect.msi); and versions 1 and 2
#   whose jar's component has a registry value as its key path (product-profile.msi,
#   product-profile-v2.msi).
# - with ISCC, run by RUN (the suite's Wine), Inno Setup's example.iss as shipped (inno-setup.exe),
#   and copies whose QuenzExe is no program (inno-broken.exe), says nothing (inno-mute.exe) or
#   never ends, with a limit of 2 s (inno-never-ends.exe); one with a limit of 10 s
#   (inno-short-limit.exe), one under the ANSI code page 65001 (inno-utf8.exe), and one that
#   looks again after 3 s (inno-slow.exe); and authors.iss, in two languages with Quenz's texts
#   from an .isl file (inno-languages.exe), with QuenzDir {app}\lib (inno-lib.exe) and with
#   Uninstallable=no (inno-no-uninstaller.exe). RUN's words are separated by |.
# It also puts the kit's quenz-check.cmd beside QuenzCheck.exe, and alone (batch-alone/).
if(NOT EXISTS "${MAKENSIS}")
  message(FATAL_ERROR "no makensis: install nsis (scripts/test does)")
endif()
set(kit ${BUILD_DIR}/installer-kit)

# Builds `script` with the options that follow, in the kit's folder.
function(makensis script)
  execute_process(COMMAND ${MAKENSIS} -V2 -WX ${ARGN} ${script} WORKING_DIRECTORY ${kit}
    RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(failed)
    message(FATAL_ERROR "makensis ${ARGN} ${script} failed:\n${log}")
  endif()
endfunction()

file(REMOVE_RECURSE ${kit})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${kit}
  OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
file(WRITE ${kit}/Dalmivorax.jar "the jar the example installs\n")

set(run amd64-unicode)
set(targets x86-unicode x86-ansi amd64-unicode)
if(X86_KIT)
  set(run x86-unicode)
  set(targets x86-unicode x86-ansi)
endif()
foreach(target ${targets})
  set(options "-X!addincludedir ${kit}" "-XTarget ${target}" -DOUTFILE=${BUILD_DIR}/checks-${target}.exe)
  if(RUN_X86 AND NOT target STREQUAL amd64-unicode)
    # A missing stub is told apart from a fault of the header by the amd64 build that follows.
    execute_process(COMMAND ${MAKENSIS} -V2 -WX ${options} ${HERE}/checks.nsi
      WORKING_DIRECTORY ${kit} RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(NOT failed AND target STREQUAL x86-unicode)
      set(run x86-unicode)
    endif()
  else()
    makensis(${HERE}/checks.nsi ${options})
  endif()
endforeach()
message(STATUS "The installers run with NSIS's ${run} stubs.")
makensis(example.nsi "-XTarget ${run}")
file(COPY_FILE ${BUILD_DIR}/checks-${run}.exe ${BUILD_DIR}/checks.exe)
makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget ${run}"
  -DQUENZ_EXE=${BUILD_DIR}/empty.exe -DOUTFILE=${BUILD_DIR}/checks-mute.exe)
makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget ${run}"
  -DQUENZ_EXE=${kit}/README.md -DOUTFILE=${BUILD_DIR}/checks-broken.exe)
makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget ${run}"
  -D__QUENZ_TEST_NO_SHORT_NAMES -DOUTFILE=${BUILD_DIR}/checks-no-short-names.exe)
makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget ${run}"
  -DQUENZ_EXE=${BUILD_DIR}/never_ends.exe -DQUENZ_TIMEOUT_MS=2000
  -DOUTFILE=${BUILD_DIR}/checks-never-ends.exe)
makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget ${run}"
  -D__QUENZ_TEST_NO_SHORT_NAMES -D__QUENZ_TEST_CODE_PAGE=65001 -DOUTFILE=${BUILD_DIR}/checks-utf8.exe)
makensis(${HERE}/languages.nsi "-X!addincludedir ${kit}" "-XTarget ${run}"
  -DOUTFILE=${BUILD_DIR}/languages.exe)

# The batch file runs beside the QuenzCheck.exe and Quenz.exe of the tests' own width, as shipped
# otherwise; and alone, where it cannot run QuenzCheck.exe.
file(COPY_FILE ${kit}/quenz-check.cmd ${BUILD_DIR}/quenz-check.cmd)
file(MAKE_DIRECTORY ${BUILD_DIR}/batch-alone)
file(COPY_FILE ${kit}/quenz-check.cmd ${BUILD_DIR}/batch-alone/quenz-check.cmd)

# Inno Setup's compiler is a Windows program: it takes Windows paths, where Wine shows / as Z:.
if(ISCC)
  string(REPLACE "|" ";" RUN "${RUN}")
  string(REPLACE "/" "\\" output "Z:${BUILD_DIR}")
  string(REPLACE "/" "\\" broken_quenz "Z:${kit}/README.md")
  string(REPLACE "/" "\\" mute_quenz "Z:${BUILD_DIR}/empty.exe")
  string(REPLACE "/" "\\" never_ending_quenz "Z:${BUILD_DIR}/never_ends.exe")
  file(COPY ${HERE}/authors.iss ${HERE}/QuenzDE.isl DESTINATION ${kit})
  foreach(name inno-setup inno-broken inno-mute inno-slow inno-never-ends inno-short-limit inno-utf8
      inno-languages inno-lib inno-no-uninstaller)
    set(define "")
    set(script example.iss)
    if(name MATCHES "^inno-(languages|lib|no-uninstaller)$")
      set(script authors.iss)
    endif()
    if(name STREQUAL inno-broken)
      set(define "/DQuenzExe=${broken_quenz}")
    elseif(name STREQUAL inno-mute)
      set(define "/DQuenzExe=${mute_quenz}")
    elseif(name STREQUAL inno-slow)
      set(define /DQuenzConfirmPauseMs=3000)
    elseif(name STREQUAL inno-never-ends)
      set(define "/DQuenzExe=${never_ending_quenz}" /DQuenzTimeoutMs=2000)
    elseif(name STREQUAL inno-short-limit)
      set(define /DQuenzTimeoutMs=10000)
    elseif(name STREQUAL inno-utf8)
      set(define /DQuenzTestCodePage=65001)
    elseif(name STREQUAL inno-languages)
      set(define /DLanguages /DQuenzNoDefaultMessages)
    elseif(name STREQUAL inno-lib)
      set(define "/DQuenzDir={app}\\lib")
    elseif(name STREQUAL inno-no-uninstaller)
      set(define /DNotUninstallable)
    endif()
    execute_process(COMMAND ${RUN} ${ISCC} /Q /O${output} /F${name} ${define} ${script}
      WORKING_DIRECTORY ${kit} RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(failed)
      message(FATAL_ERROR "ISCC ${define} ${script} failed:\n${log}")
    endif()
  endforeach()
  # {app} would be the Windows folder: the include must refuse to compile.
  execute_process(COMMAND ${RUN} ${ISCC} /Q /O${output} /Finno-no-app-dir /DNoAppDir authors.iss
    WORKING_DIRECTORY ${kit} RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(NOT failed OR NOT log MATCHES "with CreateAppDir=no")
    message(FATAL_ERROR "authors.iss compiled with CreateAppDir=no:\n${log}")
  endif()
endif()

# The MSI packages, each built in a kit as an author builds one, Quenz.wxi included as shipped.
if(NOT WIXL OR NOT MSIINFO)
  message(STATUS "No wixl and msiinfo: no MSI package.")
  return()
endif()
file(WRITE ${kit}/Dalmivorax.cfg "the jar component's key file\n")
set(broken ${BUILD_DIR}/installer-kit-broken)
set(prints_forever ${BUILD_DIR}/installer-kit-prints-forever)
if(X86_KIT)
  set(programs x86/)
  set(platform -a x86 -D QuenzPlatform=x86 -D Platform=x86 -D ProgramFiles=ProgramFilesFolder -D Win64=no)
else()
  set(programs "")
  set(platform -a x64 -D Platform=x64 -D ProgramFiles=ProgramFiles64Folder -D Win64=yes)
endif()
foreach(stand_in "${broken};${kit}/README.md" "${prints_forever};${BUILD_DIR}/prints_forever.exe")
  list(GET stand_in 0 dir)
  list(GET stand_in 1 quenz)
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir}/${programs})
  file(COPY ${kit}/Quenz.wxi ${kit}/Dalmivorax.jar ${kit}/Dalmivorax.cfg DESTINATION ${dir})
  file(COPY ${kit}/${programs}QuenzCA.dll DESTINATION ${dir}/${programs})
  file(COPY_FILE ${quenz} ${dir}/${programs}Quenz.exe)
endforeach()
set(v1 -D Version=1.0.0 -D ProductCode={258D53B6-4AA9-434D-9212-E1861CA755E1}
  -D JarComponent={17E7DB61-F3CE-4A41-81F1-C4E363B30898})
# Version 2 gives the jar's component a code of its own, as a new authoring may.
set(v2 -D Version=2.0.0 -D ProductCode={9F1C3E52-7B6A-4C1D-8E2F-3A4B5C6D7E8F}
  -D JarComponent={0B6E2A41-5C3D-4E7F-9A18-2B3C4D5E6F70})
set(en ${v1} -D "JavaRunningText=Dalmivorax (Java edition) is running.")
set(profile ${v1} -D RegistryKeyPath=1)
set(profile_v2 ${v2} -D RegistryKeyPath=1)
set(detect ${v1} -D Detect=1)
foreach(package "product;${kit};v1" "product-v2;${kit};v2" "product-broken;${broken};v1"
    "product-prints-forever;${prints_forever};v1" "product-en;${kit};en"
    "product-detect;${kit};detect" "product-broken-detect;${broken};detect"
    "product-profile;${kit};profile" "product-profile-v2;${kit};profile_v2")
  list(GET package 0 name)
  list(GET package 1 dir)
  list(GET package 2 version)
  execute_process(COMMAND ${WIXL} ${platform} ${${version}} -I ${dir} -o ${BUILD_DIR}/${name}.msi
    ${HERE}/product.wxs
    WORKING_DIRECTORY ${dir} RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  # wixl has exited 0 on a package whose sequence names a custom action it failed to write.
  execute_process(COMMAND ${MSIINFO} export ${BUILD_DIR}/${name}.msi CustomAction
    OUTPUT_VARIABLE actions)
  execute_process(COMMAND ${MSIINFO} export ${BUILD_DIR}/${name}.msi InstallExecuteSequence
    OUTPUT_VARIABLE sequence)
  # Without Impersonate, wixl sets msidbCustomActionTypeNoImpersonate (2048), which an immediate
  # action ignores; WiX 3 does not.
  if(failed OR NOT actions MATCHES "\nQuenzCheck\t(1|2049)\tQuenzCA\tQuenzCheck\t"
     OR NOT sequence MATCHES "\nQuenzCheck\t\t1050\r?\n")
    message(FATAL_ERROR "${name}.msi lacks the immediate QuenzCheck at 1050:\n${log}\n${actions}\n${sequence}")
  endif()
endforeach()
