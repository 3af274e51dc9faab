#!/usr/bin/env bash
# Compara, byte a byte, a saída de `pisco blocom --lancamentos` de dois binários no banco de
# demonstração: cada empresa inteira, cada estabelecimento no modo filial e cada SCP no modo
# scp, em SPED e JSON. Serve para provar que uma mudança de desempenho não mudou nenhum número.
#
# Uso: bench/comparar-lancamentos.sh PISCO_ANTES PISCO_DEPOIS [PASTA]
#   BANCO=sqlite|postgresql (postgresql usa PISCO_PG_URL, um servidor onde o usuário cria bancos).
set -euo pipefail
ANTES="${1:?informe o binário de antes}" DEPOIS="${2:?informe o binário de depois}"
PASTA="${3:-$(mktemp -d)}"
BANCO="${BANCO:-sqlite}"
for b in "$ANTES" "$DEPOIS"; do [[ -x "$b" ]] || { echo "comparar-lancamentos: binário não encontrado: $b" >&2; exit 1; }; done

if [[ "$BANCO" == postgresql ]]; then
  [[ -n "${PISCO_PG_URL:-}" ]] || { echo "comparar-lancamentos: defina PISCO_PG_URL" >&2; exit 1; }
  CON="${PISCO_PG_URL%/*}/pisco_comparar_demo"
  psql -X -q -d "$PISCO_PG_URL" -c "DROP DATABASE IF EXISTS pisco_comparar_demo" -c "CREATE DATABASE pisco_comparar_demo" >/dev/null
  consulta() { psql -X -q -d "$CON" -tA -F' ' -c "$1"; }
else
  CON="$PASTA/comparar-demo.db"
  rm -f "$CON"
  consulta() { sqlite3 -separator ' ' "$CON" "$1"; }
fi
"$DEPOIS" demo-db "$CON" >/dev/null 2>&1

# Casos: "empresa modo estab" (modo empresa sem estabelecimento).
casos() {
  consulta "SELECT CODIGOEMPRESA, 'empresa', '-' FROM CFGEMPRESAFIS ORDER BY 1"
  consulta "SELECT CODIGOEMPRESA, CASE WHEN SOCIEDADECONTAPARTICIPACAO = '1' THEN 'scp' ELSE 'filial' END, CODIGOESTAB
            FROM ESTAB ORDER BY 1, 3"
}

iguais=0 diferentes=0
while read -r emp modo estab; do
  args=(blocom --db "$CON" --empresa "$emp" --competencia 2024-01 --lancamentos)
  [[ "$modo" != empresa ]] && args+=(--modo "$modo" --estab "$estab")
  for formato in sped json; do
    nome="$PASTA/e$emp-$modo-$estab.$formato"
    "$ANTES" "${args[@]}" --formato "$formato" >"$nome.antes" 2>&1 || echo "(saída $?)" >>"$nome.antes"
    "$DEPOIS" "${args[@]}" --formato "$formato" >"$nome.depois" 2>&1 || echo "(saída $?)" >>"$nome.depois"
    if cmp -s "$nome.antes" "$nome.depois"; then
      iguais=$((iguais + 1))
    else
      diferentes=$((diferentes + 1))
      echo "DIFERENTE: empresa $emp $modo $estab $formato ($nome.antes x $nome.depois)"
    fi
  done
done < <(casos)
echo "banco $BANCO: $iguais saídas iguais, $diferentes diferentes ($(cat "$PASTA"/*.depois | wc -l) linhas comparadas)"
[[ $diferentes -eq 0 ]]
