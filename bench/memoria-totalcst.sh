#!/usr/bin/env bash
# Memória dos totais por CST: pico de memória residente de uma empresa-período (totais do
# crédito e do débito) sobre demonstrações de 10^5 e 10^6 linhas de lançamento. A razão entre
# os dois picos precisa ficar abaixo de 1,5: as fontes chegam agregadas do banco (uma linha
# por estabelecimento, imposto, CST, tipo, alíquota, CFOP e conta), então o que fica em
# memória cresce com os grupos, não com os itens.
#
# Uso: bench/memoria-totalcst.sh [BUILD] [PASTA]
#   BUILD  pasta do build (padrão build)     PASTA  onde ficam os bancos (padrão /tmp)
# Bancos já gerados na pasta (demo-1e5.db, demo-1e6.db, os mesmos de memoria-sql-a170.sh) são
# reaproveitados. BANCO_1E5 e BANCO_1E6 trocam os bancos por textos de conexão quaisquer.
set -euo pipefail
RAIZ="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$RAIZ/build}"
PASTA="${2:-/tmp}"
PISCO="$BUILD/pisco"
MEDIR="$BUILD/MemoriaTotalCST"
[[ -x "$PISCO" && -x "$MEDIR" ]] || { echo "memoria-totalcst: compile antes (scripts/build $BUILD)" >&2; exit 1; }

declare -A PICO
for n in 100000 1000000; do
  nome=$([[ $n == 100000 ]] && echo 1e5 || echo 1e6)
  var="BANCO_${nome^^}"
  banco="${!var:-$PASTA/demo-$nome.db}"
  if [[ "$banco" != postgres* && ! -s "$banco" ]]; then
    echo "gerando $banco ($n linhas)..." >&2
    "$PISCO" demo-db "$banco" --empresas 1 --linhas "$n" >&2
  fi
  read -r pico fontes totais < <("$MEDIR" "$banco" 1 2024-01)
  PICO[$nome]=$pico
  echo "$nome linhas de lançamento: $fontes linhas nas fontes, $totais no total, pico de memória $pico KiB"
done

razao=$(awk -v a="${PICO[1e6]}" -v b="${PICO[1e5]}" 'BEGIN { printf "%.3f", a / b }')
echo "razão dos picos (10^6 / 10^5): $razao (limite 1,5)"
awk -v r="$razao" 'BEGIN { exit !(r < 1.5) }' || { echo "memoria-totalcst: a memória cresce com as linhas" >&2; exit 1; }
