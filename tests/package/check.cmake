# Installs the build in BUILD_DIR into a scratch prefix, then builds and runs the programs
# of the project in SOURCE_DIR against it: through find_package, then, with the prefix
# moved elsewhere, through pkg-config and a plain compiler command line.
# LIBDIR is the tree's library directory below the prefix. federate_noenv runs a
# federation from the installed tree with an empty environment.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer)

# consumer_time must record the logical-time library alone, or it shows nothing.
find_program(READELF readelf REQUIRED)
execute_process(COMMAND ${READELF} -d ${WORK_DIR}/build/consumer_time
                OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR dynamic MATCHES "librti1516e64" OR NOT dynamic MATCHES "libfedtime1516e64")
  message(FATAL_ERROR "consumer_time should need libfedtime1516e64 and not librti1516e64:\n${dynamic}")
endif()
run(${WORK_DIR}/build/consumer_time)

find_program(ENV_COMMAND env REQUIRED)
run(${ENV_COMMAND} -i ${WORK_DIR}/build/federate_noenv ${SOURCE_DIR}/package_check_fom.xml)

# The installed federation server's launcher finds its jar and a Java runtime by itself.
execute_process(COMMAND ${ENV_COMMAND} -i ${prefix}/bin/ostra-rti --help
                OUTPUT_VARIABLE usage RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT usage MATCHES "rti://HOST:PORT")
  message(FATAL_ERROR "ostra-rti --help failed (${rc}):\n${usage}")
endif()

# Moved: nothing may remember where the tree was installed.
set(moved ${WORK_DIR}/moved/prefix)
file(MAKE_DIRECTORY ${WORK_DIR}/moved)
file(RENAME ${prefix} ${moved})
run(${ENV_COMMAND} -i ${moved}/bin/ostra-rti --help)

# The same programs through pkg-config and a plain compiler command line.
find_program(PKG_CONFIG pkg-config REQUIRED)
find_program(CXX NAMES c++ g++ REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${moved}/${LIBDIR}/pkgconfig)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs ostra1516e
                OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know ostra1516e")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CXX} -std=c++11 ${SOURCE_DIR}/consumer.cpp -o ${WORK_DIR}/consumer-pc ${flags}
    -Wl,-rpath,${moved}/${LIBDIR})
run(${WORK_DIR}/consumer-pc)
run(${CXX} -std=c++11 ${SOURCE_DIR}/consumer_time.cpp -o ${WORK_DIR}/consumer_time-pc
    -Wl,--as-needed ${flags} -Wl,-rpath,${moved}/${LIBDIR})
run(${WORK_DIR}/consumer_time-pc)
