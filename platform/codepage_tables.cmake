# The code page tables: generated at build time from Microsoft's data files in codepage_data/.
# Each entry: kind, code page, data file ("-" for a page derived from a rule).
set(_data ${CMAKE_CURRENT_SOURCE_DIR}/codepage_data)
set(_pages
  bestfit 874 ${_data}/WindowsBestFit/bestfit874.txt
  bestfit 932 ${_data}/WindowsBestFit/bestfit932.txt
  bestfit 936 ${_data}/WindowsBestFit/bestfit936.txt
  bestfit 949 ${_data}/WindowsBestFit/bestfit949.txt
  bestfit 950 ${_data}/WindowsBestFit/bestfit950.txt
  bestfit 1250 ${_data}/WindowsBestFit/bestfit1250.txt
  bestfit 1251 ${_data}/WindowsBestFit/bestfit1251.txt
  bestfit 1252 ${_data}/WindowsBestFit/bestfit1252.txt
  bestfit 1253 ${_data}/WindowsBestFit/bestfit1253.txt
  bestfit 1254 ${_data}/WindowsBestFit/bestfit1254.txt
  bestfit 1255 ${_data}/WindowsBestFit/bestfit1255.txt
  bestfit 1256 ${_data}/WindowsBestFit/bestfit1256.txt
  bestfit 1257 ${_data}/WindowsBestFit/bestfit1257.txt
  bestfit 1258 ${_data}/WindowsBestFit/bestfit1258.txt
  bestfit 1361 ${_data}/WindowsBestFit/bestfit1361.txt
  roundtrip 37 ${_data}/ebcdic/cp037.txt
  roundtrip 500 ${_data}/ebcdic/cp500.txt
  roundtrip 875 ${_data}/ebcdic/cp875.txt
  roundtrip 1026 ${_data}/ebcdic/cp1026.txt
  roundtrip 437 ${_data}/pc/cp437.txt
  roundtrip 737 ${_data}/pc/cp737.txt
  roundtrip 775 ${_data}/pc/cp775.txt
  roundtrip 850 ${_data}/pc/cp850.txt
  roundtrip 852 ${_data}/pc/cp852.txt
  roundtrip 855 ${_data}/pc/cp855.txt
  roundtrip 857 ${_data}/pc/cp857.txt
  roundtrip 860 ${_data}/pc/cp860.txt
  roundtrip 861 ${_data}/pc/cp861.txt
  roundtrip 862 ${_data}/pc/cp862.txt
  roundtrip 863 ${_data}/pc/cp863.txt
  roundtrip 864 ${_data}/pc/cp864.txt
  roundtrip 865 ${_data}/pc/cp865.txt
  roundtrip 866 ${_data}/pc/cp866.txt
  roundtrip 869 ${_data}/pc/cp869.txt
  roundtrip 10000 ${_data}/mac/roman.txt
  roundtrip 10006 ${_data}/mac/greek.txt
  roundtrip 10007 ${_data}/mac/cyrillic.txt
  roundtrip 10029 ${_data}/mac/latin2.txt
  roundtrip 10079 ${_data}/mac/iceland.txt
  roundtrip 10081 ${_data}/mac/turkish.txt
  rule 20127 -
)
set(_files ${_pages})
list(FILTER _files INCLUDE REGEX "\\.txt$")

add_executable(mirovex_codepage_table_generator codepage_table_generator.cpp)
target_link_libraries(mirovex_codepage_table_generator PRIVATE mirovex_warnings)

set(MIROVEX_CODEPAGE_TABLES_CPP ${CMAKE_CURRENT_BINARY_DIR}/codepage_tables_generated.cpp)
add_custom_command(
  OUTPUT ${MIROVEX_CODEPAGE_TABLES_CPP}
  COMMAND mirovex_codepage_table_generator ${MIROVEX_CODEPAGE_TABLES_CPP} ${_pages}
  DEPENDS mirovex_codepage_table_generator ${_files} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Generating the code page tables from Microsoft's data"
  VERBATIM)
