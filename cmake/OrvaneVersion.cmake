# The one version the project has, read from the effect's identity (entry/EffectIdentity.h): the release
# (ORVANE_VERSION, "1.0.0", as About shows it) and the build's four-part file version (ORVANE_FILE_VERSION,
# "1.0.0.1", as Windows shows it), so the project and its package carry the version the module registers.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../entry/EffectIdentity.h _orvane_version_line
     REGEX "^constexpr PluginVersion kPluginVersion{")
if(NOT _orvane_version_line MATCHES "{([0-9]+), *([0-9]+), *([0-9]+), *[A-Za-z0-9_]+, *([0-9]+)}")
  message(FATAL_ERROR "cannot read kPluginVersion{major, minor, bugfix, stage, build} from entry/EffectIdentity.h")
endif()
set(ORVANE_VERSION ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3})
set(ORVANE_FILE_VERSION ${ORVANE_VERSION}.${CMAKE_MATCH_4})
