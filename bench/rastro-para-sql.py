#!/usr/bin/env python3
"""Converte um rastro do pisco (--rastro-sql) num script SQL que o sqlite3 ou o psql rodam
sozinhos: cada :NOME vira o valor registrado, como literal; uma consulta por comando.

Uso: bench/rastro-para-sql.py RASTRO.jsonl > consultas.sql
"""
import json
import sys


def literal(valor):
    if valor is None:
        return "NULL"
    if isinstance(valor, bool):
        return "1" if valor else "0"
    if isinstance(valor, (int, float)):
        return repr(valor)
    return "'" + str(valor).replace("'", "''") + "'"


def trocar_parametros(sql, valores):
    """Troca :NOME fora de literais, identificadores entre aspas e comentários ('::' não é parâmetro)."""
    saida, i, n = [], 0, len(sql)
    while i < n:
        c = sql[i]
        if c in "'\"":
            fim = i + 1
            while fim < n:
                if sql[fim] == c:
                    if fim + 1 < n and sql[fim + 1] == c:
                        fim += 2
                        continue
                    break
                fim += 1
            saida.append(sql[i:fim + 1])
            i = fim + 1
        elif sql.startswith("--", i):
            fim = sql.find("\n", i)
            fim = n if fim < 0 else fim
            saida.append(sql[i:fim])
            i = fim
        elif sql.startswith("/*", i):
            fim = sql.find("*/", i + 2)
            fim = n if fim < 0 else fim + 2
            saida.append(sql[i:fim])
            i = fim
        elif c == ":" and sql.startswith("::", i):
            saida.append("::")
            i += 2
        elif c == ":" and i + 1 < n and (sql[i + 1].isalpha() or sql[i + 1] == "_"):
            fim = i + 1
            while fim < n and (sql[fim].isalnum() or sql[fim] == "_"):
                fim += 1
            saida.append(literal(valores[sql[i + 1:fim].upper()]))
            i = fim
        else:
            saida.append(c)
            i += 1
    return "".join(saida)


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        for linha in f:
            e = json.loads(linha)
            params = e.get("parametros", {})
            if not isinstance(params, dict):
                continue  # consulta que falhou pela contagem de parâmetros
            sql = trocar_parametros(e["sql"], params).strip().rstrip(";")
            print(sql + ";")


if __name__ == "__main__":
    main()
