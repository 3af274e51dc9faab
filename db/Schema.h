#pragma once
// Fonte única do esquema: tabelas descritas uma vez, DDL gerado para cada dialeto.
#include <string>
#include <vector>

#include "host/Database.h"

enum class TTipoColuna {
  tcInteiro,     // INTEGER / BIGINT
  tcValor,       // valores monetários: REAL no SQLite, NUMERIC(18,2) no PostgreSQL
  tcAliquota,    // alíquotas e percentuais: REAL / NUMERIC(18,4)
  tcAliquota6,   // REAL / NUMERIC(18,6)
  tcQuantidade,  // REAL / NUMERIC(18,4)
  tcTexto,       // TEXT / VARCHAR(Tamanho)
  tcData         // TEXT 'AAAA-MM-DD' / DATE
};

struct TColunaSchema {
  std::string Nome;
  TTipoColuna Tipo = TTipoColuna::tcTexto;
  int Tamanho = 0;  // só para tcTexto (0 = sem limite)
  bool NotNull = false;
};

struct TIndiceSchema {
  std::string Nome;
  std::vector<std::string> Colunas;
  bool Unico = false;
};

struct TTabelaSchema {
  std::string Nome;
  std::vector<TColunaSchema> Colunas;
  std::vector<std::string> ChavePrimaria;
  std::vector<TIndiceSchema> Indices;
};

// Cada unidade contribui com suas tabelas.
std::vector<TTabelaSchema> TabelasFiscais();  // db/SchemaFiscal.cpp: movimento, cadastros, totais, saldos, blocos
std::vector<TTabelaSchema> TabelasOpcoes();   // db/SchemaOpcoes.cpp: opções da empresa, tabelas de códigos
std::vector<TTabelaSchema> TabelasSchema();   // todas, em ordem determinística
std::string GerarDDL(TDialeto ADialeto);

// Junta as listas na ordem dada; nome de tabela, de coluna ou de índice repetido é erro (EPisco).
std::vector<TTabelaSchema> JuntarTabelas(std::vector<std::vector<TTabelaSchema>> listas);

enum class TParteDDL {
  pdTudo,     // tabelas e índices
  pdTabelas,  // só CREATE TABLE (com a chave primária)
  pdIndices   // só CREATE INDEX: a carga em massa cria os índices depois das linhas
};
std::string GerarDDL(TDialeto ADialeto, const std::vector<TTabelaSchema>& ATabelas,
                     TParteDDL AParte = TParteDDL::pdTudo);
// Tabela pelo nome (sem distinção de maiúsculas); nullptr se não existir.
const TTabelaSchema* ProcurarTabela(const std::vector<TTabelaSchema>& ATabelas, const std::string& ANome);
