#!/usr/bin/env bash
# Bloco M pelos lançamentos (pisco blocom --lancamentos), três razões, medianas de N execuções:
#   (a) tempo da execução / tempo das mesmas consultas (do --rastro-sql) rodadas sozinhas pelo
#       sqlite3 ou psql, a 10^6 linhas de lançamento (alvo <= 1,3);
#   (b) pico de memória a 10^6 / a 10^5 linhas (alvo <= 1,5);
#   (c) uma empresa num banco de 100 empresas / a mesma empresa sozinha (alvo <= 1,2).
#
# Uso: bench/blocom-lancamentos.sh [PISCO] [PASTA]
#   BANCO=sqlite|postgresql (padrão sqlite; postgresql usa PISCO_PG_URL, um servidor onde o
#   usuário cria bancos), REPETICOES (padrão 5), LINHAS_100 (linhas por empresa no banco de 100
#   empresas, padrão 10000). Bancos SQLite já gerados na PASTA são reaproveitados.
set -euo pipefail
RAIZ="$(cd "$(dirname "$0")/.." && pwd)"
PISCO="${1:-$RAIZ/build/pisco}"
PASTA="${2:-/tmp}"
BANCO="${BANCO:-sqlite}"
N="${REPETICOES:-5}"
N_1E6="${REPETICOES_1E6:-$N}"  # a 10^6 cada execução leva minutos numa máquina carregada
LINHAS_100="${LINHAS_100:-10000}"
[[ -x "$PISCO" ]] || { echo "blocom-lancamentos: binário não encontrado: $PISCO" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "blocom-lancamentos: falta /usr/bin/time (pacote time)" >&2; exit 1; }

# Texto de conexão de um banco de demonstração (gerado na primeira vez).
banco() {  # nome empresas linhas
  local nome="$1" empresas="$2" linhas="$3"
  if [[ "$BANCO" == postgresql ]]; then
    [[ -n "${PISCO_PG_URL:-}" ]] || { echo "blocom-lancamentos: defina PISCO_PG_URL" >&2; exit 1; }
    local base="pisco_bench_$nome" url="${PISCO_PG_URL%/*}/pisco_bench_$nome"
    # banco de uma geração interrompida (sem a tabela de opções, a última gravada) é refeito
    if ! psql -X -q -d "$url" -tAc "SELECT 1 FROM OPCAOEFD LIMIT 1" 2>/dev/null | grep -q 1; then
      psql -X -q -d "$PISCO_PG_URL" -c "DROP DATABASE IF EXISTS $base" -c "CREATE DATABASE $base" >/dev/null
      "$PISCO" demo-db "$url" --empresas "$empresas" --linhas "$linhas" >&2
      psql -X -q -d "$url" -c "ANALYZE" >/dev/null
    fi
    echo "$url"
  else
    local arq="$PASTA/bench-lcto-$nome.db"
    [[ -s "$arq" ]] || "$PISCO" demo-db "$arq" --empresas "$empresas" --linhas "$linhas" >&2
    echo "$arq"
  fi
}

mediana() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Uma execução: "segundos pico_KiB" na saída; o rastro fica em $PASTA/bench-lcto.jsonl.
rodar() {  # conexão empresa
  /usr/bin/time -f '%e %M' -o "$PASTA/bench-lcto.time" "$PISCO" blocom --db "$1" --empresa "$2" \
    --competencia 2024-01 --lancamentos --rastro-sql "$PASTA/bench-lcto.jsonl" >/dev/null
  tail -1 "$PASTA/bench-lcto.time"
}

# As consultas do rastro, sozinhas, num só processo do cliente do banco: segundos.
reproduzir() {  # conexão
  python3 "$RAIZ/bench/rastro-para-sql.py" "$PASTA/bench-lcto.jsonl" >"$PASTA/bench-lcto.sql"
  if [[ "$BANCO" == postgresql ]]; then
    # a sessão do psql com os mesmos ajustes que o pisco faz ao conectar (sem JIT)
    /usr/bin/time -f '%e' -o "$PASTA/bench-lcto.time" psql -X -q -d "$1" -v ON_ERROR_STOP=1 \
      -c "SET jit = off" -f "$PASTA/bench-lcto.sql" -o /dev/null
  else
    /usr/bin/time -f '%e' -o "$PASTA/bench-lcto.time" sqlite3 -bail "$1" <"$PASTA/bench-lcto.sql" >/dev/null
  fi
  tail -1 "$PASTA/bench-lcto.time"
}

medir() {  # rótulo conexão empresa [repetições] -> imprime medianas; define MED_T MED_M MED_R
  local rotulo="$1" con="$2" emp="$3" n="${4:-$N}" ts=() ms=() rs=()
  for ((i = 1; i <= n; i++)); do
    read -r t m < <(rodar "$con" "$emp")
    ts+=("$t"); ms+=("$m"); rs+=("$(reproduzir "$con")")
    echo "  $rotulo execução $i: ${t}s, pico ${m} KiB, consultas sozinhas ${rs[-1]}s, carga $(carga)" >&2
  done
  MED_T=$(printf '%s\n' "${ts[@]}" | mediana)
  MED_M=$(printf '%s\n' "${ms[@]}" | mediana)
  MED_R=$(printf '%s\n' "${rs[@]}" | mediana)
  echo "$rotulo (mediana de $n): execução ${MED_T}s, consultas sozinhas ${MED_R}s, pico ${MED_M} KiB ($(wc -l <"$PASTA/bench-lcto.jsonl") consultas)"
}

# A máquina pode ser dividida com outros trabalhos: cada número sai com a carga do momento.
carga() { cut -d' ' -f1-3 /proc/loadavg; }

razao() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

echo "banco: $BANCO, medianas de $N ($N_1E6 a 10^6), carga da máquina: $(carga)"
medir "10^5 linhas" "$(banco 1e5 1 100000)" 1
M5=$MED_M
medir "10^6 linhas" "$(banco 1e6 1 1000000)" 1 "$N_1E6"
T6=$MED_T R6=$MED_R M6=$MED_M
medir "empresa 1 sozinha ($LINHAS_100 linhas)" "$(banco so1 1 "$LINHAS_100")" 1
T1=$MED_T
medir "empresa 1 entre 100" "$(banco cem 100 "$LINHAS_100")" 1
T100=$MED_T
echo "(a) execução / consultas sozinhas a 10^6: $(razao "$T6" "$R6") (alvo 1,3)"
echo "(b) pico 10^6 / 10^5: $(razao "$M6" "$M5") (alvo 1,5)"
echo "(c) empresa entre 100 / sozinha: $(razao "$T100" "$T1") (alvo 1,2)"
echo "carga no fim: $(carga)"
