# The two commands of the README, and what they need.
.PHONY: demo test prepara prepara-windows dev asan-ubsan windows format clean fuzz bench

demo: dev
	scripts/demo.sh build/dev/comprobador build/dev/revisa

# A minute of fuzzing each, the project file check, revisa's review of a submission and the
# copy detection;
# then the Linux build (the Windows suite compares archives with it), the Windows suite under
# wine and the sanitizer suite, so that the run ends with the summary of the plain Linux suite.
test: prepara prepara-windows
	fuzz/corre.sh 60
	cmake --preset dev
	cmake --build --preset dev
	cmake --preset windows
	cmake --build --preset windows
	ctest --preset windows
	cmake --preset asan-ubsan
	cmake --build --preset asan-ubsan
	ctest --preset asan-ubsan
	tests/reproducible.sh
	ctest --preset dev

prepara:
	scripts/prepara.sh

# A release in dist/: comprobador-VERSION-windows-x86_64.zip, comprobador-VERSION-linux-x86_64.tar.gz
# and SHA256SUMS, the same bytes for the same commit wherever it is built.
.PHONY: dist
dist: prepara prepara-windows
	scripts/dist.sh

# Every target under libFuzzer, each for SEGUNDOS: make fuzz SEGUNDOS=3600 for a longer run,
# OBJETIVO=proyecto, OBJETIVO=revision or OBJETIVO=similitud for one of them.
SEGUNDOS ?= 60
OBJETIVO ?=
fuzz:
	fuzz/corre.sh $(SEGUNDOS) $(OBJETIVO)

# The tool against zip, Python's zipfile, bsdtar and the deflate limit; minutes.
bench:
	bench/corre.sh

dev: prepara
	cmake --preset dev
	cmake --build --preset dev

prepara-windows:
	scripts/prepara-windows.sh

# comprobador.exe for the students and revisa.exe for the teachers, in build/windows/
windows: prepara prepara-windows
	cmake --preset windows
	cmake --build --preset windows --target comprobador revisa

asan-ubsan: prepara
	cmake --preset asan-ubsan
	cmake --build --preset asan-ubsan

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h')

clean:
	rm -rf build muestra-ejecucion dist
