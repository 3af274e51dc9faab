#!/usr/bin/env bash
# Memória do pisco sql em fluxo: pico de memória residente de
#   pisco sql --registro A170 --executar
# sobre demonstrações de 10^5 e 10^6 linhas de lançamento. A razão entre os dois picos
# precisa ficar abaixo de 1,5 (a memória não cresce com o número de linhas).
#
# Uso: bench/memoria-sql-a170.sh [PISCO] [PASTA]
#   PISCO  binário (padrão build/pisco)     PASTA  onde ficam os bancos (padrão /tmp)
# Bancos já gerados na pasta (demo-1e5.db, demo-1e6.db) são reaproveitados. BANCO_1E5 e
# BANCO_1E6 trocam os bancos por textos de conexão quaisquer (postgresql://... já gerados).
set -euo pipefail
RAIZ="$(cd "$(dirname "$0")/.." && pwd)"
PISCO="${1:-$RAIZ/build/pisco}"
PASTA="${2:-/tmp}"
FORMATO="${FORMATO:-csv}"
REGISTRO="${REGISTRO:-A170}"  # outro registro em fluxo: REGISTRO=C170 bench/memoria-sql-a170.sh

[[ -x "$PISCO" ]] || { echo "memoria-sql-a170: binário não encontrado: $PISCO" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "memoria-sql-a170: falta /usr/bin/time (pacote time; scripts/setup)" >&2; exit 1; }

pico_kb() {  # pico de memória residente (KiB) de uma execução, saída descartada
  /usr/bin/time -f '%M' -o "$PASTA/memoria-sql-a170.time" \
    "$PISCO" sql --db "$1" --registro "$REGISTRO" --empresa 1 --competencia 2024-01 --movimento sai \
    --executar --formato "$FORMATO" >/dev/null
  tail -1 "$PASTA/memoria-sql-a170.time"
}

linhas_a170() {
  "$PISCO" sql --db "$1" --registro "$REGISTRO" --empresa 1 --competencia 2024-01 --movimento sai \
    --executar --formato csv | tail -n +2 | wc -l
}

declare -A PICO
for n in 100000 1000000; do
  nome=$([[ $n == 100000 ]] && echo 1e5 || echo 1e6)
  var="BANCO_${nome^^}"
  banco="${!var:-$PASTA/demo-$nome.db}"
  if [[ "$banco" != postgres* && ! -s "$banco" ]]; then
    echo "gerando $banco ($n linhas)..." >&2
    "$PISCO" demo-db "$banco" --empresas 1 --linhas "$n" >&2
  fi
  PICO[$nome]=$(pico_kb "$banco")
  echo "$nome linhas de lançamento: $REGISTRO com $(linhas_a170 "$banco") linhas, pico de memória ${PICO[$nome]} KiB"
done

razao=$(awk -v a="${PICO[1e6]}" -v b="${PICO[1e5]}" 'BEGIN { printf "%.3f", a / b }')
echo "razão dos picos (10^6 / 10^5): $razao (limite 1,5)"
awk -v r="$razao" 'BEGIN { exit !(r < 1.5) }' || { echo "memoria-sql-a170: a memória cresce com as linhas" >&2; exit 1; }
