// Tabelas internas do host: opções da empresa que as consultas do módulo não leem
// diretamente, tabelas de códigos do SPED, a tabela pública de CFOP e as proporções de
// crédito gravadas. Colunas de opção aceitam nulo: nulo vale o padrão documentado no README.
#include <sstream>
#include <string>

#include "db/Schema.h"

namespace {

// "NOME:tipo" separados por espaço: i inteiro, d data, v valor, a alíquota, tN texto de N.
TTabelaSchema Tabela(const std::string& ANome, const std::string& AColunas, const std::string& AChave) {
  TTabelaSchema t;
  t.Nome = ANome;
  std::istringstream cols(AColunas);
  for (std::string def; cols >> def;) {
    TColunaSchema c;
    auto p = def.find(':');
    c.Nome = def.substr(0, p);
    std::string tipo = def.substr(p + 1);
    if (tipo == "i") c.Tipo = TTipoColuna::tcInteiro;
    else if (tipo == "d") c.Tipo = TTipoColuna::tcData;
    else if (tipo == "v") c.Tipo = TTipoColuna::tcValor;
    else if (tipo == "a") c.Tipo = TTipoColuna::tcAliquota6;
    else {
      c.Tipo = TTipoColuna::tcTexto;
      c.Tamanho = tipo.size() > 1 ? std::stoi(tipo.substr(1)) : 0;
    }
    t.Colunas.push_back(c);
  }
  std::istringstream chave(AChave);
  for (std::string k; chave >> k;) {
    t.ChavePrimaria.push_back(k);
    for (auto& c : t.Colunas)
      if (c.Nome == k) c.NotNull = true;
  }
  return t;
}

}  // namespace

std::vector<TTabelaSchema> TabelasOpcoes() {
  std::vector<TTabelaSchema> ts;
  // Complemento 1:1 de OPCAOEFD (mesma chave): as demais opções da EFD-Contribuições.
  ts.push_back(Tabela("OPCAOEFDCOMPL",
                      "CODIGOEMPRESA:i CODIGOESTAB:i DATAEFD:d OPTANTEEFD:i INCTRIBUTARIA:i ORDEMCOMPENSACAO:t20"
                      " ORDEMCOMPCREDEFD:i CODTABCOMPCRED:i INDCREDAGRO:i VALIDARORIGEMCOMPRET:i"
                      " FORMACONTROLERETIDOS:i CONTROLADIFERIMENTO:i GERACAOF500F525:i RECEITAENQEXCLUSAOBC:i"
                      " INCIDENCIACST:i PROPORCAORECCUM:i CSTAJUSTECREDITO:i ULTPERSLDSCPOSTENSIVA:d"
                      " CODIGOIMPOSTOPISNCUM:i VARIACAOPISNCUM:i CODIGOIMPOSTOPISCUM:i VARIACAOPISCUM:i"
                      " CODIGOIMPOSTOCOFINSNCUM:i VARIACAOCOFINSNCUM:i CODIGOIMPOSTOCOFINSCUM:i VARIACAOCOFINSCUM:i",
                      "CODIGOEMPRESA CODIGOESTAB DATAEFD"));
  ts.push_back(Tabela("OPCAOLUCROREAL",
                      "CODIGOEMPRESA:i DATAOPCAO:d APURALUCROREAL:i REGIMEAPURACAO:i TIPOAPURACAO:i APURAPIS:i"
                      " APURACOFINS:i CODIGOIMPOSTOPISNCUM:i VARIACAOPISNCUM:i CODIGOIMPOSTOPISCUM:i"
                      " VARIACAOPISCUM:i CODIGOIMPOSTOCOFINSNCUM:i VARIACAOCOFINSNCUM:i"
                      " CODIGOIMPOSTOCOFINSCUM:i VARIACAOCOFINSCUM:i CSTAJUSTECREDITO:i PROPORCAORECCUM:i",
                      "CODIGOEMPRESA DATAOPCAO"));
  ts.push_back(Tabela("OPCAOLUCROPRESUMIDO",
                      "CODIGOEMPRESA:i DATAOPCAO:d APURALUCROPRESUMIDO:i TIPOAPURACAO:i APURAPIS:i APURACOFINS:i"
                      " CODIGOIMPOSTOPIS:i VARIACAOPIS:i CODIGOIMPOSTOCOFINS:i VARIACAOCOFINS:i",
                      "CODIGOEMPRESA DATAOPCAO"));
  ts.push_back(Tabela("OPCAOIPI", "CODIGOEMPRESA:i CODIGOESTAB:i DATAINICIAL:d APURAIPI:i",
                      "CODIGOEMPRESA CODIGOESTAB DATAINICIAL"));
  ts.push_back(Tabela("OPCAOCONTRIBPATRONAL",
                      "CODIGOEMPRESA:i DATAINICIAL:d CODIGOIMPOSTOTIC:i VARIACAOIMPOSTOTIC:i CODIGOIMPOSTOOUTROS:i"
                      " VARIACAOIMPOSTOOUTROS:i CODIGOIMPOSTOCOMERCIO:i VARIACAOIMPOSTOCOMERCIO:i",
                      "CODIGOEMPRESA DATAINICIAL"));
  ts.push_back(Tabela("CONFIGSISTEMA", "NOME:t60 VALOR:t200", "NOME"));
  // Tabelas de códigos do SPED: chave "4.3.05.51" = tabela "4.3.05" + código "51".
  ts.push_back(Tabela("TABELASPED",
                      "CODIGOTABSPED:t20 TABELA:t10 CODIGO:t10 DESCRICAO:t255 CODIGOCONVERSAO:t10"
                      " DATAINICIAL:d DATAFINAL:d",
                      "CODIGOTABSPED"));
  ts.back().Indices.push_back({"IXTABELASPEDTABELA", {"TABELA", "CODIGO"}, false});
  // Tabela pública de CFOP com as marcações das listas do host.
  ts.push_back(Tabela("CFOP", "CODIGOCFOP:i DESCRICAO:t255 INDTRANSFERENCIA:i INDDEVOLUCAO:i INDENERGIAELETRICA:i",
                      "CODIGOCFOP"));
  // Proporção de créditos por CST gravada no fechamento (CODIGOESTAB 0 = empresa inteira).
  ts.push_back(Tabela("PROPORCAOCREDITOCST",
                      "CODIGOEMPRESA:i CODIGOESTAB:i DATAINICIAL:d DATAFINAL:d CST:i VALORRECTRIBNCUM:v"
                      " PERCRECTRIBNCUM:a VALORRECCUM:v PERCRECCUM:a VALORRECNTRIB:v PERCRECNTRIB:a"
                      " VALORRECEXPORT:v PERCRECEXPORT:a",
                      "CODIGOEMPRESA CODIGOESTAB DATAINICIAL CST"));
  return ts;
}
