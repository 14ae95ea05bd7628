# The two commands of the README, and what they need.
.PHONY: demo test prepara dev asan-ubsan format clean

demo: dev
	scripts/demo.sh build/dev/comprobador

# The sanitizer build first, so that the run ends with the summary of the plain one.
test: prepara
	cmake --preset asan-ubsan
	cmake --build --preset asan-ubsan
	ctest --preset asan-ubsan
	cmake --preset dev
	cmake --build --preset dev
	ctest --preset dev

prepara:
	scripts/prepara.sh

dev: prepara
	cmake --preset dev
	cmake --build --preset dev

asan-ubsan: prepara
	cmake --preset asan-ubsan
	cmake --build --preset asan-ubsan

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h')

clean:
	rm -rf build muestra-ejecucion
