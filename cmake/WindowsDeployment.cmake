# What recwright.exe needs beside it, laid out as Qt's own deployment tool does: Qt's DLLs, Qt
# Charts' among them, the platform plugin in platforms/, the style in styles/, and the MinGW
# runtime that Qt's DLLs link (scripts/windows-deps.sh put it in Qt's bin folder); then the
# licence texts of what is in the .zip, Qt's LGPL and Qt Charts' GPL among them, and where their
# sources come from.
foreach(module Core Gui Widgets Charts)
  install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  install(FILES ${RECWRIGHT_MINGW_QT}/bin/${runtime} DESTINATION .)
endforeach()
foreach(prefix ${RECWRIGHT_MINGW_PREFIXES})
  install(DIRECTORY ${prefix}/share/licences/ DESTINATION licences)
endforeach()
