// Tabelas fiscais da base: movimento (famílias de entrada e saída), cadastros, totais
// apurados, saldos de créditos e retidos, ajustes e as fontes dos blocos F, I, P e 1.
//
// Cada tabela é escrita numa linha de colunas "NOME:tipo" (i inteiro, v valor, a alíquota,
// a6 alíquota com 6 casas, q quantidade, d data, t texto livre, tN texto de até N posições;
// "!" obriga valor). A chave primária e a coluna de data do período vêm à parte: a partir
// dela cria-se o índice (empresa, estabelecimento, data) que torna a leitura de uma
// empresa-período independente do tamanho do resto da base.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "db/Schema.h"
#include "base/Erros.h"

namespace {

std::vector<std::string> Separar(std::string_view texto) {
  std::vector<std::string> partes;
  std::string atual;
  for (char c : texto) {
    if (std::isspace(static_cast<unsigned char>(c)) || c == ',') {
      if (!atual.empty()) partes.push_back(std::move(atual));
      atual.clear();
    } else {
      atual += c;
    }
  }
  if (!atual.empty()) partes.push_back(std::move(atual));
  return partes;
}

TColunaSchema Coluna(const std::string& definicao, const std::string& tabela) {
  auto pos = definicao.find(':');
  if (pos == std::string::npos || pos == 0)
    throw EPisco("Esquema: coluna sem tipo em " + tabela + ": " + definicao);
  TColunaSchema c;
  c.Nome = definicao.substr(0, pos);
  std::string tipo = definicao.substr(pos + 1);
  if (!tipo.empty() && tipo.back() == '!') {
    c.NotNull = true;
    tipo.pop_back();
  }
  if (tipo == "i") c.Tipo = TTipoColuna::tcInteiro;
  else if (tipo == "v") c.Tipo = TTipoColuna::tcValor;
  else if (tipo == "a") c.Tipo = TTipoColuna::tcAliquota;
  else if (tipo == "a6") c.Tipo = TTipoColuna::tcAliquota6;
  else if (tipo == "q") c.Tipo = TTipoColuna::tcQuantidade;
  else if (tipo == "d") c.Tipo = TTipoColuna::tcData;
  else if (!tipo.empty() && tipo[0] == 't') {
    c.Tipo = TTipoColuna::tcTexto;
    c.Tamanho = tipo.size() > 1 ? std::stoi(tipo.substr(1)) : 0;
  } else {
    throw EPisco("Esquema: tipo desconhecido em " + tabela + ": " + definicao);
  }
  return c;
}

bool TemColuna(const TTabelaSchema& t, const std::string& nome) {
  for (const auto& c : t.Colunas)
    if (c.Nome == nome) return true;
  return false;
}

// periodo: coluna de data pela qual as execuções filtram a empresa-período.
TTabelaSchema Tab(std::string nome, std::string_view colunas, std::string_view chave,
                  std::string_view periodo = {}) {
  TTabelaSchema t;
  t.Nome = std::move(nome);
  for (const auto& def : Separar(colunas)) t.Colunas.push_back(Coluna(def, t.Nome));
  t.ChavePrimaria = Separar(chave);
  for (const auto& k : t.ChavePrimaria) {
    bool achou = false;
    for (auto& c : t.Colunas)
      if (c.Nome == k) {
        c.NotNull = true;
        achou = true;
      }
    if (!achou) throw EPisco("Esquema: chave " + k + " não é coluna de " + t.Nome);
  }
  if (!periodo.empty()) {
    std::vector<std::string> cols;
    if (TemColuna(t, "CODIGOEMPRESA")) cols.push_back("CODIGOEMPRESA");
    if (TemColuna(t, "CODIGOESTAB")) cols.push_back("CODIGOESTAB");
    cols.emplace_back(periodo);
    if (!TemColuna(t, cols.back())) throw EPisco("Esquema: período " + cols.back() + " não é coluna de " + t.Nome);
    bool prefixoDaChave = t.ChavePrimaria.size() >= cols.size() &&
                          std::equal(cols.begin(), cols.end(), t.ChavePrimaria.begin());
    if (!prefixoDaChave) t.Indices.push_back({"IX" + t.Nome + "PER", cols, false});
  }
  return t;
}

void Indice(TTabelaSchema& t, std::string sufixo, std::string_view colunas) {
  t.Indices.push_back({"IX" + t.Nome + sufixo, Separar(colunas), false});
}

// Substitui cada "{}" pelo lado do movimento ("ENT" ou "SAI").
std::string Lado(std::string_view modelo, std::string_view lado) {
  std::string r;
  for (size_t i = 0; i < modelo.size(); ++i) {
    if (modelo[i] == '{' && i + 1 < modelo.size() && modelo[i + 1] == '}') {
      r += lado;
      ++i;
    } else {
      r += modelo[i];
    }
  }
  return r;
}

constexpr std::string_view kDezValoresCredito =
    " VLCREDAPU:v VLCREDEXTAPU:v VLCREDDESCPAANT:v VLCREDPERPAANT:v VLCREDDCOMPPAANT:v"
    " VLCREDDESCEFD:v VLCREDPEREFD:v VLCREDDCOMPEFD:v VLCREDTRANS:v VLCREDOUT:v ";

constexpr std::string_view kValoresRetido =
    " VLRETAPU:v VLRETDED:v VLRETPER:v VLRETDCOMP:v SLDRET:v ";

// Famílias de entrada e saída: as mesmas tabelas, diferindo só pelo sufixo.
void FamiliaLancamentos(std::vector<TTabelaSchema>& ts, std::string_view lado) {
  const std::string chave = Lado("CHAVELCTOFIS{}", lado);
  auto L = [&](std::string_view m) { return Lado(m, lado); };

  ts.push_back(Tab(L("LCTOFIS{}"),
                   L("CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFIS{}:i DATALCTOFIS:d! CODIGOPESSOA:i"
                     " NUMERONF:i NUMERONFFINAL:i ESPECIENF:t5 SERIENF:t4 SUBSERIENF:t3 DATAEMISSAO:d"
                     " DATAPRESTACAOSERVICO:d VALORCONTABIL:v VLRDESC:v VLRABATNTRIB:v VLRFRETE:v"
                     " VLRSEGURO:v VLROUTRDESP:v VALORFUNRURAL:v EMITENTENF:t1 CDMODELO:t3"
                     " CHAVENFE{}:t44 CHAVENFE{}REF:t44 MODALIDADEFRETE:i INDPAGTO:i CDSITUACAO:i"
                     " CANCELADA:t1 COMPLHIST:t200 CODIGOESTABSCP:i CODIGOREDUCAOZ:i CODIGOSAT:i"),
                   "CODIGOEMPRESA " + chave, "DATALCTOFIS"));
  Indice(ts.back(), "PES", "CODIGOEMPRESA CODIGOPESSOA DATALCTOFIS");

  ts.push_back(Tab(L("LCTOFIS{}PRODUTO"),
                   L("CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFIS{}:i CODIGOPRODUTO:i SEQ:i"
                     " DATALCTOFIS:d! CODIGOCFOP:i CODIGOSITUACAOTRIBUT:t3 UNIDADEMEDIDA:t6"
                     " QUANTIDADE:q VALORTOTAL:v VALORDESCONTO:v BASECALCULOICMS:v ALIQICMS:a"
                     " VALORICMS:v ISENTASICMS:v OUTRASICMS:v BASECALCULOIPI:v ALIQIPI:a VALORIPI:v"
                     " BASECALCULOSUBTRIBUT:v ALIQSUBTRIBUT:a VALORSUBTRIBUT:v VALORISS:v CSTIPI:t2"
                     " INDMOV:i INDNATFRT:i"),
                   "CODIGOEMPRESA " + chave + " CODIGOPRODUTO SEQ", "DATALCTOFIS"));

  ts.push_back(Tab(L("LCTOFIS{}PISCOFINS"),
                   L("CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFIS{}:i CODIGOPRODUTO:i SEQ:i"
                     " DATALCTOFIS:d! CODIGOCFOP:i CDSITUATRIBUTPIS:i CDSITUATRIBUTCOFINS:i"
                     " ALIQPIS:a6 ALIQCOFINS:a6 QUANTIDADE:q RECEITAPISCOFINS:v VALORDESCONTO:v"
                     " BASECALCULOPISCOFINS:v VALORPIS:v VALORCOFINS:v TIPOCREDITO:t20"
                     " TIPOCREDITOPIS:t20 TIPODEBITO:t20 TIPODEBITOPIS:t20 CONTACTBEFD:t20"),
                   "CODIGOEMPRESA " + chave + " CODIGOPRODUTO SEQ", "DATALCTOFIS"));

  ts.push_back(Tab(L("LCTOFIS{}CFOP"),
                   L("CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFIS{}:i SEQ:i DATALCTOFIS:d!"
                     " CODIGOCFOP:i! TIPOIMPOSTO:i! BASECALCULOIMPOSTO:v ISENTASIMPOSTO:v"
                     " OUTRASIMPOSTO:v VALORIMPOSTO:v"),
                   "CODIGOEMPRESA " + chave + " SEQ", "DATALCTOFIS"));

  ts.push_back(Tab(L("LCTOFIS{}COMPL"),
                   L("CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFIS{}:i SEQ:i DATALCTOFIS:d!"
                     " CODOBS0450:t6 COMPLOBS0450:t255 CODIGOOBS:t6 COMPLOBS:t255 CODIGOOPERACAOFIS:i"),
                   "CODIGOEMPRESA " + chave + " SEQ", "DATALCTOFIS"));

  // O retido da entrada guarda a chave do lançamento numa coluna de nome próprio.
  const std::string chaveRetido = lado == "ENT" ? "CHAVELCTOFISENTRETIDO" : chave;
  ts.push_back(Tab(L("LCTOFIS{}RETIDO"),
                   "CODIGOEMPRESA:i CODIGOESTAB:i! " + chaveRetido +
                       ":i DATALCTOFIS:d! TIPORETENCAO:i BASECALCULO:v VALORPIS:v VALORCOFINS:v"
                       " VALORCSLL:v VALORIRRF:v DATAPGTOPISCOFINSCSLL:d",
                   "CODIGOEMPRESA " + chaveRetido, "DATALCTOFIS"));

  ts.push_back(Tab(L("LCTOFIS{}SPEDC111"),
                   L("CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFIS{}:i SEQ:i DATALCTOFIS:d! NUMPROC:t30!"),
                   "CODIGOEMPRESA " + chave + " SEQ", "DATALCTOFIS"));

  ts.push_back(Tab(L("LCTOFIS{}SPEDC120"),
                   L("CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFIS{}:i SEQ:i CODIGOPRODUTO:i"
                     " DATALCTOFIS:d! CDDOCIMP:i NUMDOCIMP:t20 VLRPISIMP:v VLRCOFINSIMP:v NUMACDRAW:t20"),
                   "CODIGOEMPRESA " + chave + " SEQ", "DATALCTOFIS"));

  ts.push_back(Tab(L("LCTOFIS{}SPEDD500"),
                   L("CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFIS{}:i DATALCTOFIS:d! VALORTERCEIRO:v"),
                   "CODIGOEMPRESA " + chave, "DATALCTOFIS"));
}

void Lancamentos(std::vector<TTabelaSchema>& ts) {
  FamiliaLancamentos(ts, "ENT");
  FamiliaLancamentos(ts, "SAI");

  ts.push_back(Tab("LCTOFISENTSPEDA120",
                   "CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFISENT:i SEQ:i DATALCTOFIS:d! VLTOTSER:v"
                   " VLBCPIS:v VLPISIMP:v DTPAGPIS:d VLBCCOFINS:v VLCOFINSIMP:v DTPAGCOFINS:d LOCEXESERV:i",
                   "CODIGOEMPRESA CHAVELCTOFISENT SEQ", "DATALCTOFIS"));

  ts.push_back(Tab("LCTOFISSAISPEDC113",
                   "CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFISSAI:i SEQ:i DATALCTOFIS:d!"
                   " CHAVELCTOFISENTREF:i",
                   "CODIGOEMPRESA CHAVELCTOFISSAI SEQ", "DATALCTOFIS"));

  ts.push_back(Tab("LCTOFISSAISPEDC500",
                   "CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFISSAI:i DATALCTOFIS:d! CODIGOCONSUMO:t2"
                   " CONSTOTKWH:q VALORTERCEIRO:v VALORFORNECIMENTO:v",
                   "CODIGOEMPRESA CHAVELCTOFISSAI", "DATALCTOFIS"));

  ts.push_back(Tab("LCTOFISSAIPRODUTOSPEDD510",
                   "CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFISSAI:i SEQ:i DATALCTOFIS:d! INDRECEITA:i"
                   " CODIGOCLASS:t4",
                   "CODIGOEMPRESA CHAVELCTOFISSAI SEQ", "DATALCTOFIS"));

  ts.push_back(Tab("LCTOFISSAIRETIDOPAGAMENTO",
                   "CODIGOEMPRESA:i CODIGOESTAB:i! CHAVELCTOFISSAI:i TIPOIMPOSTO:i SEQ:i"
                   " DATAPAGAMENTO:d! VALOR:v BASECALCULO:v",
                   "CODIGOEMPRESA CHAVELCTOFISSAI TIPOIMPOSTO SEQ", "DATAPAGAMENTO"));
  // Os retidos do período procuram os pagamentos pela data, sem o estabelecimento.
  Indice(ts.back(), "DATA", "CODIGOEMPRESA DATAPAGAMENTO");

  ts.push_back(Tab("LCTOFISSAIREDUCAOZ",
                   "CODIGOEMPRESA:i CODIGOESTAB:i! CODIGOREDUCAOZ:i CODIGOIMPRESSORAFISCAL:i!"
                   " DATALCTOFIS:d! CONTADORREINICIOOPERACAO:i CONTADORREDUCAOZ:i CUPOMFINAL:i"
                   " TOTALGERAL:v TOTALBRUTO:v",
                   "CODIGOEMPRESA CODIGOREDUCAOZ", "DATALCTOFIS"));

  // Tabela das devoluções do período: o serviço do host a preenche (ou a sobrepõe com uma
  // tabela temporária de mesmo nome na conexão) e a esvazia ao fim da execução.
  ts.push_back(Tab("LCTOFISTMP",
                   "CODIGOEMPRESA:i CODIGOESTAB:i CHAVELCTOFISSAI:i CODIGOPRODUTO:i SEQ:i DATALCTOFIS:d",
                   "CODIGOEMPRESA CHAVELCTOFISSAI CODIGOPRODUTO SEQ"));
}

void Cadastros(std::vector<TTabelaSchema>& ts) {
  ts.push_back(Tab("CFGEMPRESAFIS",
                   "CODIGOEMPRESA:i RAZAOSOCIAL:t100 INSCRFEDERAL:t14 SIGLAESTADO:t2 CODIGOMUNIC:i"
                   " INDNATPJ:i",
                   "CODIGOEMPRESA"));
  ts.push_back(Tab("ESTAB",
                   "CODIGOEMPRESA:i CODIGOESTAB:i NOMEESTAB:t100 INSCRFEDERAL:t14 SIGLAESTADO:t2"
                   " CODIGOMUNIC:i SOCIEDADECONTAPARTICIPACAO:t1! INSCRICAOSCP:t14",
                   "CODIGOEMPRESA CODIGOESTAB"));
  ts.push_back(Tab("MUNICIPIO", "SIGLAESTADO:t2 CODIGOMUNIC:i NOMEMUNIC:t60 CODIGORAIS:i",
                   "SIGLAESTADO CODIGOMUNIC"));
  ts.push_back(Tab("PESSOA",
                   "CODIGOPESSOA:i NOMEPESSOA:t100 TIPOINSCR:i INSCRFEDERAL:t14 SIGLAESTADO:t2"
                   " CODIGOMUNIC:i ORGAOPUBLICO:i",
                   "CODIGOPESSOA"));
  ts.push_back(Tab("PRODUTO",
                   "CODIGOEMPRESA:i CODIGOPRODUTO:i REFERENPRODUTO:t60 DESCRPRODUTO:t120"
                   " UNIDADEMEDIDA:t6 CODIGONCM:t8 EXIPI:t3 CODIGOCENTROCUSTO:t20 DACONTIPORECEITA:i"
                   " CODIGORECEITA:t10",
                   "CODIGOEMPRESA CODIGOPRODUTO"));
  ts.push_back(Tab("PROCESREFERENC",
                   "CODIGOEMPRESA:i NUMPROCREF:t30 INDPROCREF:i! SECAOJUD:t60 VARA:t60 INDNATACAO:t2"
                   " DESCRDECJUD:t200 DATASENTJUD:d DATAINICIAL:d DATAFINAL:d",
                   "CODIGOEMPRESA NUMPROCREF"));
  ts.push_back(Tab("RELACPROCESREFPRODUTO", "CODIGOEMPRESA:i CODIGOPRODUTO:i NUMPROCREF:t30",
                   "CODIGOEMPRESA CODIGOPRODUTO NUMPROCREF"));
  ts.push_back(Tab("PROCESREFPRODUTOPISCOFINS",
                   "CODIGOEMPRESA:i CODIGOESTAB:i CODIGOPRODUTO:i NUMPROCREF:t30 CDSITUATRIBUTPIS:i"
                   " CDSITUATRIBUTCOFINS:i ALIQPIS:a6 ALIQCOFINS:a6 DATAINICIAL:d DATAFINAL:d",
                   "CODIGOEMPRESA CODIGOESTAB CODIGOPRODUTO NUMPROCREF"));
  ts.push_back(Tab("SPEDFIS0460", "CODIGOOBS:t6 DESCROBS:t255", "CODIGOOBS"));
  ts.push_back(Tab("IMPRESSORAFISCAL",
                   "CODIGOEMPRESA:i CODIGOESTAB:i CODIGOIMPRESSORAFISCAL:i CDMODELO:t3"
                   " DESCRIMPRESSORAFISCAL:t60 NUMEROSERIE:t21 NRCAIXA:i",
                   "CODIGOEMPRESA CODIGOESTAB CODIGOIMPRESSORAFISCAL"));
  ts.push_back(Tab("EQUIPAMENTOSAT", "CODIGOEMPRESA:i CODIGOESTAB:i CODIGOSAT:i NUMEROSERIESAT:t9",
                   "CODIGOEMPRESA CODIGOESTAB CODIGOSAT"));
  ts.push_back(Tab("IMPOSTO",
                   "CODIGOIMPOSTO:i VARIACAOIMPOSTO:i DESCRIMPOSTO:t100 CODIGOIMPOSTODCTF:i"
                   " VARIACAOIMPOSTODCTF:i",
                   "CODIGOIMPOSTO VARIACAOIMPOSTO"));
  // Opção pela EFD: a data em que vale e o regime de apuração (1 = competência).
  ts.push_back(Tab("OPCAOEFD",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATAEFD:d REGIMEAPU:i!",
                   "CODIGOEMPRESA CODIGOESTAB DATAEFD"));
}

void Duplicatas(std::vector<TTabelaSchema>& ts) {
  ts.push_back(Tab("DUPLICATAINDTITULO", "CODIGOINDTITULO:i DESCRINDTITULO:t60 INDTITULOSPED:t2!",
                   "CODIGOINDTITULO"));
  ts.push_back(Tab("DUPLICATASAI",
                   "CODIGOEMPRESA:i CODIGOESTAB:i CHAVEDUPLICATASAI:i CHAVELCTOFISSAI:i CODIGOPESSOA:i"
                   " CODIGOINDTITULO:i NUMERODUPLICATA:t20 DATAEMISSAO:d! VALORDUPLICATA:v"
                   " OBSERVDUPLICATA:t200",
                   "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI", "DATAEMISSAO"));
  Indice(ts.back(), "LCTO", "CODIGOEMPRESA CHAVELCTOFISSAI");
  ts.push_back(Tab("DUPLICATASAIPARCELA",
                   "CODIGOEMPRESA:i CODIGOESTAB:i CHAVEDUPLICATASAI:i SEQPARCELA:i DATAVENCIMENTO:d"
                   " VALORPARCELA:v!",
                   "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQPARCELA"));
  ts.push_back(Tab("DUPLICATASAIPGTO",
                   "CODIGOEMPRESA:i CODIGOESTAB:i CHAVEDUPLICATASAI:i SEQ:i SEQPARCELA:i DATAPGTO:d!"
                   " DATALCTOFIS:d VALORPAGO:v VALORDESCONTO:v",
                   "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQ", "DATAPGTO"));
}

// Totais apurados da EFD: uma tabela por registro e a gêmea por estabelecimento (...ESTAB).
void TotaisEFD(std::vector<TTabelaSchema>& ts) {
  struct TTotal {
    const char* Nome;
    const char* Colunas;
  };
  const TTotal totais[] = {
      {"TOTALEFD",
       "VLTOTCONTNCPER:v VLTOTCREDDESC:v VLTOTCREDDESCANT:v VLTOTCONTNCDEV:v VLRETNC:v VLOUTDEDNC:v"
       " VLCONTNCREC:v VLTOTCONTCUMPER:v VLRETCUM:v VLOUTDEDCUM:v VLDIFERIDOCUM:v VLDIFERIRCUM:v"},
      {"TOTALEFDCRED", "TIPOCREDITO:t20! INDCREDORI:i ALIQ:a ALIQQUANT:a VLCRED:v VLCREDDIF:v VLCREDDESC:v"},
      {"TOTALEFDCREDDET",
       "SEQCRED:i! TIPOCREDITO:t20! CST:i VLBCTOT:v VLBCCUM:v VLBCNCUM:v VLBC:v QUANTBCTOT:q QUANTBC:q"
       " DESCCRED:t100"},
      {"TOTALEFDAJUSTE",
       "SEQCREDDEB:i! TIPOAJUSTE:i! INDAJ:t1 VLAJ:v CODAJ:t20 NUMDOC:t60 DESCRAJ:t200 DTREF:d"},
      {"TOTALEFDAJUSTEDET",
       "SEQAJUSTE:i! CST:i DETBCCRED:v DETALIQ:a DETVALORAJ:v DTOPERAJ:d DESCAJ:t200 CODCTA:t60"
       " INFOCOMPL:t200"},
      {"TOTALEFDDEBPAGAR", "NUMCAMPO:t2! CODREC:t6! VLDEBITO:v"},
      {"TOTALEFDDEBITO",
       "TIPODEBITO:t20! VLRRECBRT:v VLBCCONT:v ALIQ:a QUANTBC:q VLAJUSACRESBCPISCOFINS:v"
       " VLAJUSREDUCBCPISCOFINS:v VLBCCONTAJUS:v"},
      {"TOTALEFDEXCLUCOOP", "SEQDEB:i! INDTIPCOOP:i VLBCCONTANTEXCCOOP:v VLEXCCOOPGER:v VLEXCESPCOOP:v"},
      {"TOTALEFDAJUSTEBC",
       "SEQDEB:i! INDAJBC:i VLAJBC:v CODAJBC:t20 NUMDOC:t60 DESCRAJBC:t200 DTREF:d CODCTA:t60 CNPJ:t14"
       " INFOCOMPL:t200"},
      {"TOTALEFDINFADICDIFERIDO",
       "SEQDEB:i! TIPOCREDITO:t20 CNPJ:t14 VLVEND:v VLNAORECEB:v VLCONTDIF:v VLCREDDIF:v"},
      {"TOTALEFDDIFERIDOPERANT",
       "SEQDEB:i! TIPODEBITO:t20 NATCREDDESC:t2 PERAPUR:t6 DTRECEB:d VLCONTAPURDIFER:v VLCREDDESCDIFER:v"},
      {"TOTALEFDISENTAS", "CST:i! CODCTA:t60 DESCCOMPL:t200 TIPODEBITO:t20! VLREC:v"},
  };
  for (const auto& t : totais) {
    ts.push_back(Tab(t.Nome, std::string("CODIGOEMPRESA:i DATATOTAL:d TIPOIMPOSTO:i SEQ:i ") + t.Colunas,
                     "CODIGOEMPRESA DATATOTAL TIPOIMPOSTO SEQ", "DATATOTAL"));
    ts.push_back(Tab(std::string(t.Nome) + "ESTAB",
                     std::string("CODIGOEMPRESA:i CODIGOESTAB:i DATATOTAL:d TIPOIMPOSTO:i SEQ:i ") + t.Colunas,
                     "CODIGOEMPRESA CODIGOESTAB DATATOTAL TIPOIMPOSTO SEQ", "DATATOTAL"));
  }
  // Movimento totalizado por CST (origem A = créditos, B = débitos conforme TIPOLCTO).
  ts.push_back(Tab("TOTALEFDMOV",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATATOTAL:d SEQ:i TIPOIMPOSTO:i! CST:i! CODIGOTABSPED:t20!"
                   " CODIGOCFOP:i TIPOLCTO:i! VALORTOTAL:v BASECALCULO:v VALORCONTRIB:v",
                   "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ", "DATATOTAL"));
}

// Totais dos regimes de lucro real e presumido, por operação fiscal.
void TotaisRegimes(std::vector<TTabelaSchema>& ts) {
  const char* valores = " VALORTOTAL1:v VALORTOTAL2:v VALORTOTAL3:v VALORTOTAL4:v";
  for (const char* nome : {"TOTALLUCROREAL", "TOTALLUCROPRESUMIDO"}) {
    ts.push_back(Tab(nome, std::string("CODIGOEMPRESA:i DATATOTAL:d CODIGOOPERACAOFIS:i") + valores,
                     "CODIGOEMPRESA DATATOTAL CODIGOOPERACAOFIS", "DATATOTAL"));
    ts.push_back(Tab(std::string(nome) + "ESTAB",
                     std::string("CODIGOEMPRESA:i CODIGOESTAB:i DATATOTAL:d CODIGOOPERACAOFIS:i") + valores,
                     "CODIGOEMPRESA CODIGOESTAB DATATOTAL CODIGOOPERACAOFIS", "DATATOTAL"));
  }
  ts.push_back(Tab("TOTALLUCROREALCREDSPED",
                   std::string("CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i IMPOSTO:i! CODCRED:t20!"
                               " PERAPUCRED:d! ORIGCRED:i CNPJSUC:t14 ALIQIMPOSTO:a") +
                       std::string(kDezValoresCredito),
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("TOTALLUCROREALRETIDOSPED",
                   std::string("CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i IMPOSTO:i! INDNATRET:i"
                               " PRRECRET:d TIPODEBITO:t20") +
                       std::string(kValoresRetido),
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("TOTALLUCROPRESRETIDO",
                   std::string("CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i IMPOSTO:i! INDNATRET:i"
                               " PRRECRET:d") +
                       std::string(kValoresRetido),
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
}

// Saldos de créditos e de retidos guardados de uma apuração para a outra.
void Saldos(std::vector<TTabelaSchema>& ts) {
  const std::string cred = std::string(" IMPOSTO:i! TIPOAPURACAO:i PERAPUCRED:d! ORIGCRED:i CNPJSUC:t14"
                                       " CODCRED:t20! ALIQIMPOSTO:a") +
                           std::string(kDezValoresCredito);
  ts.push_back(Tab("EFDSALDOCOMPCRED",
                   "CODIGOEMPRESA:i DATATOTAL:d SEQ:i" + cred + " SLDCREDFIM:v",
                   "CODIGOEMPRESA DATATOTAL SEQ", "DATATOTAL"));
  ts.push_back(Tab("EFDSALDOCOMPCREDESTAB",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATATOTAL:d SEQ:i" + cred + " SLDCREDFIM:v",
                   "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ", "DATATOTAL"));
  // TIPOCREDSPED: 0 saldo inicial informado, 1 compensação declarada.
  ts.push_back(Tab("EFDSALDOCOMPCREDINICIAL",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d TIPOCREDSPED:i SEQ:i" + cred,
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS TIPOCREDSPED SEQ", "DATALCTOFIS"));

  const std::string ret = std::string(" IMPOSTO:i! INDNATRET:i PRRECRET:d TIPODEBITO:t20") +
                          std::string(kValoresRetido);
  ts.push_back(Tab("EFDSALDORETIDO",
                   "CODIGOEMPRESA:i DATATOTAL:d SEQ:i" + ret + " VLDIFERIDOAPU:v VLDIFERIRAPU:v",
                   "CODIGOEMPRESA DATATOTAL SEQ", "DATATOTAL"));
  ts.push_back(Tab("EFDSALDORETIDOESTAB",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATATOTAL:d SEQ:i" + ret + " VLDIFERIDOAPU:v VLDIFERIRAPU:v",
                   "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ", "DATATOTAL"));
  ts.push_back(Tab("EFDSALDORETIDOINICIAL", "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i" + ret,
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("EFDSALDORETIDOCOMP",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i IMPOSTO:i! INDNATRET:i DATARETENCAO:d"
                   " TIPODEBITO:t20 VLRETUTILREST:v VLRETUTILCOMP:v",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("EFDCREDITOEVENTOINCFUSCIS",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i INDNATEVENTO:i PERAPUCRED:d!"
                   " CODIGOTABSPED:t20! INSCRFEDERAL:t14 TIPOAPURACAO:i VALORCREDTRANSFPIS:v"
                   " VALORCREDTRANSFCOFINS:v PERCCREDITOTRANSF:a",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));

  // Ordem de compensação dos créditos: tabela, percentuais por tipo, ordem e percentual por alíquota.
  ts.push_back(Tab("EFDORDEMCOMPCRED",
                   "CODTABSPEDCOMPCRED:i DESCRICAO:t100 FORMACOMPENSACAO:i", "CODTABSPEDCOMPCRED"));
  ts.push_back(Tab("EFDORDEMCOMPCREDPERCENT",
                   "CODTABSPEDCOMPCRED:i CODTABSPEDCOMPCREDPERCENT:i CODIGOTABSPED:t20! PERCENTCOMP:a",
                   "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT"));
  ts.push_back(Tab("EFDORDEMCOMPCREDALIQ",
                   "CODTABSPEDCOMPCRED:i CODTABSPEDCOMPCREDPERCENT:i ORDEM:i ALIQPIS:a ALIQCOFINS:a",
                   "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT ORDEM"));
  ts.push_back(Tab("EFDORDEMCOMPCREDALIQPER",
                   "CODTABSPEDCOMPCRED:i CODTABSPEDCOMPCREDPERCENT:i ORDEM:i DATAINICIAL:d DATAFINAL:d!"
                   " PERCENTUAL:a",
                   "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT ORDEM DATAINICIAL"));
}

// Ajustes, deduções, exclusões e demais fontes informadas pelo usuário.
void Ajustes(std::vector<TTabelaSchema>& ts) {
  const char* ajuste =
      "CODIGOEMPRESA:i CODIGOESTAB:i SEQ:i DATALCTOFIS:d! TIPOAJUSTE:i! INDAJUSTE:t1! NATAJUSTE:t20"
      " CODIGOAJUSTE:t20 NUMPROCESSO:t60 DESCAJUSTE:t255 ALIQAJUSTEPIS:a ALIQAJUSTECOFINS:a"
      " VLRAJUSTEPIS:v VLRAJUSTECOFINS:v";
  ts.push_back(Tab("EFDAJUSTEPISCOFINS", std::string(ajuste) + " TIPOAPURACAO:i",
                   "CODIGOEMPRESA CODIGOESTAB SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("EFDAJUSTEPISCOFINSDET",
                   "CODIGOEMPRESA:i CODIGOESTAB:i SEQAJUSTE:i SEQ:i DATAOPERACAO:d QUANTIDADE:q CSTPIS:i"
                   " CSTCOFINS:i BASECALCULOPISCOFINS:v VLRAJUSTEPIS:v VLRAJUSTECOFINS:v DESCAJUSTE:t255"
                   " CODIGOTABCTBFIS:i CONTACTB:t20 DESCRCOMPL:t255",
                   "CODIGOEMPRESA CODIGOESTAB SEQAJUSTE SEQ"));
  ts.push_back(Tab("LUCROREALAJUSTEPISCOFINS", ajuste, "CODIGOEMPRESA CODIGOESTAB SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("LUCROPRESAJUSTEPISCOFINS", ajuste, "CODIGOEMPRESA CODIGOESTAB SEQ", "DATALCTOFIS"));

  ts.push_back(Tab("EFDAJUSTEBASECALCCONTRIBAPUR",
                   "CODIGOEMPRESA:i CODIGOESTAB:i SEQ:i DATALCTOFIS:d! INDAJUSTE:i! CODIGOAJUSTE:t20!"
                   " VALORAJUSTE:v INDAPROPRIACAOAJUSTE:i! NUMPROCREF:t60 DESCRAJUSTE:t255 CONTACTB:i",
                   "CODIGOEMPRESA CODIGOESTAB SEQ", "DATALCTOFIS"));

  const char* deducoes =
      "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i INDORIDED:i VLDEDPIS:v VLDEDCOFINS:v"
      " VLBCOPER:v CNPJ:t14 INFCOMP:t255";
  ts.push_back(Tab("EFDDEDUCOESDIVERSAS", std::string(deducoes) + " TIPOAPURACAO:i INDNATDED:i!",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("LUCROREALDEDUCAODIVERSAS", std::string(deducoes) + " INDNATDED:i!",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
  // No presumido a dedução é sempre cumulativa: a natureza não é guardada.
  ts.push_back(Tab("LUCROPRESDEDUCAODIVERSAS", deducoes,
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));

  for (const char* nome : {"EFDDEDUCAOEXCLUSAO", "LUCROREALDEDUCAOEXCLUSAO", "LUCROPRESDEDUCAOEXCLUSAO"})
    ts.push_back(Tab(nome,
                     "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i CODIGODET:i! CSTDET:i ALIQPIS:a"
                     " ALIQCOFINS:a VALORDET:v INFOCOMPL:t255",
                     "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));

  ts.push_back(Tab("EFDEXCLUCOOP",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i IMPOSTO:i! TIPOAPURACAO:i"
                   " TIPODEBITO:t20! INDTIPCOOP:i VLEXCCOOPGER:v VLEXCESPCOOP:v",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));

  // Registro 1050: ajustes extemporâneos da base e seu detalhamento por CST.
  ts.push_back(Tab("EFDEXCAJUSBCPISCOFINS",
                   "CODIGOEMPRESA:i CODIGOESTAB:i SEQ:i DATATOTAL:d! DATAREFERENCIA:d INDAJBC:i"
                   " CODIGOAJUSTE:t20 CNPJ:t14 VLAJTOT:v INFOCOMPL:t255",
                   "CODIGOEMPRESA CODIGOESTAB SEQ", "DATATOTAL"));
  ts.push_back(Tab("EFDEXCAJUSBCPISCOFINSDET",
                   "CODIGOEMPRESA:i CODIGOESTAB:i SEQAJUSTE:i SEQ:i CST:i VLAJCST:v VLAJPIS:v VLAJCOFINS:v",
                   "CODIGOEMPRESA CODIGOESTAB SEQAJUSTE SEQ"));
  // Registro 1800: retenções do RET da incorporação imobiliária.
  ts.push_back(Tab("EFDINCORPIMOBRET",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i NUMCADIMOB:t20 VLRECEITA:v"
                   " VLRECFIN:v VLBCRET:v ALIQRET:a VLRECUNI:v DATARECEB:d CODREC:t6",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));

  // Estoque de abertura: crédito presumido lançado em doze parcelas.
  const char* estoque =
      "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i VLRTOTEST:v VLRESTIMP:v VLRBCEST:v"
      " VLRBCMENEST:v CSTPIS:i ALIQPIS:a VLRCREDPIS:v CSTCOFINS:i ALIQCOFINS:a VLRCREDCOFINS:v"
      " DESCEST:t100 CONTACTB:t20";
  ts.push_back(Tab("EFDCREDPRESESTOQABERT", std::string(estoque) + " TIPOAPURACAO:i",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("LUCROREALCREDPRESESTOQABERT", estoque,
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));

  // PIS sobre a folha de salários.
  for (const char* nome : {"EFDPISPASEPFOLHA", "LUCROREALPISPASEPFOLHA", "LUCROPRESUMIDOPISPASEPFOLHA"})
    ts.push_back(Tab(nome,
                     "CODIGOEMPRESA:i CODIGOESTAB:i PERIODO:d ALIQUOTA:a TOTALFOLHA:v EXCLUSAO:v"
                     " BASECALCULO:v VALORPISPASEP:v",
                     "CODIGOEMPRESA CODIGOESTAB PERIODO"));

  // Demais documentos do bloco F (F100): INDOPER 0 entrada, 1 e 2 saídas.
  ts.push_back(Tab("EFDF100DEMAISDOC",
                   "CODIGOEMPRESA:i CODIGOESTAB:i SEQ:i DATALCTOFIS:d! INDOPER:i! CODIGOPESSOA:i"
                   " CODIGOPRODUTO:i CODIGOCENTROCUSTO:t20 VALOROPER:v CST:i CSTCOFINS:i ALIQPIS:a"
                   " ALIQCOFINS:a BASECALCULO:v VALORPIS:v VALORCOFINS:v TIPOCREDITO:t20"
                   " TIPOCREDITOCOFINS:t20 TIPODEBITO:t20 TIPODEBITOCOFINS:t20 ORIGEMCREDITO:i"
                   " COMPENSACRED:t1 COMPENSARETENCAO:t1 CONTACTB:t60 DESCRICAO:t255",
                   "CODIGOEMPRESA CODIGOESTAB SEQ", "DATALCTOFIS"));

  ts.push_back(Tab("DEBITOFEDERAL",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOCTR:d SEQ:i CHAVEORIGEM:t20! CODIGOIMPOSTO:i!"
                   " VARIACAOIMPOSTO:i! FORMADEBITO:i VALORDEBITO:v",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOCTR SEQ", "DATALCTOCTR"));
}

// Atividade imobiliária (F200, F205, F210).
void Imobiliaria(std::vector<TTabelaSchema>& ts) {
  ts.push_back(Tab("EFDUNIDIMOBILIARIA",
                   "CODIGOEMPRESA:i CODIGOESTAB:i NUMCADIMOB:t20 INDOPER:i UNIDIMOB:i IDENTEMP:t100"
                   " DESCUNIDIMOB:t100 NUMCONT:t60 CNPJCPFADQU:t14 DATAOPER:d VLTOTVEND:v",
                   "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB"));
  const char* tributos = " CSTPIS:i CSTCOFINS:i ALIQPIS:a ALIQCOFINS:a";
  ts.push_back(Tab("EFDUNIDIMOBVENDIDA",
                   std::string("CODIGOEMPRESA:i CODIGOESTAB:i NUMCADIMOB:t20 COMPRECEB:d SEQUENCIA:i"
                               " TIPODEBITO:t20 TIPODEBITOPIS:t20 VLTOTREC:v VLRECACUM:v VLBC:v VLPIS:v"
                               " VLCOFINS:v INDNATEMP:i") + tributos,
                   "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA", "COMPRECEB"));
  ts.push_back(Tab("EFDUNIDIMOBCUSTOINC",
                   std::string("CODIGOEMPRESA:i CODIGOESTAB:i NUMCADIMOB:t20 COMPRECEB:d SEQUENCIA:i"
                               " TIPOCREDITO:t20 TIPOCREDITOPIS:t20 VLCUSINCACUANT:v VLCUSINCPERESC:v"
                               " VLCUSINCACUTOT:v VLEXCBCCUSINCACU:v VLBCCUSINC:v VLCREDPISDESC:v"
                               " VLCREDCOFINSDESC:v") + tributos,
                   "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA", "COMPRECEB"));
  ts.push_back(Tab("EFDUNIDIMOBCUSTOORC",
                   std::string("CODIGOEMPRESA:i CODIGOESTAB:i NUMCADIMOB:t20 COMPRECEB:d SEQUENCIA:i"
                               " TIPOCREDITO:t20 TIPOCREDITOPIS:t20 VLCUSORC:v VLEXC:v VLCUSORCEXC:v"
                               " VLBCCRED:v VLCREDPISUTIL:v VLCREDCOFINSUTIL:v") + tributos,
                   "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA", "COMPRECEB"));
}

// Bens do ativo e seus créditos mensais.
void Patrimonio(std::vector<TTabelaSchema>& ts) {
  ts.push_back(Tab("PATBEM",
                   "CODIGOEMPRESA:i NUMEROBEM:i CODIGOESTAB:i! DESCRICAOBEM:t300 ORIGEMBEM:i DATAAQUISICAO:d"
                   " VALORAQUISICAO:v INDUTILBEM:i",
                   "CODIGOEMPRESA NUMEROBEM"));
  ts.push_back(Tab("PATCFGDACON",
                   "CODIGOEMPRESA:i NUMEROBEM:i DATAINICIAL:d DATAFINAL:d TIPODACONCREDITO:i! TIPOCREDITO:t20"
                   " TIPOAPURACAO:i CSTPIS:i CSTCOFINS:i ALIQPIS:a ALIQCOFINS:a NUMEROPARCELAS:i",
                   "CODIGOEMPRESA NUMEROBEM DATAINICIAL"));
  ts.push_back(Tab("PATCREDITODACON",
                   "CODIGOEMPRESA:i CODIGOESTAB:i NUMEROBEM:i PERIODO:d CSTPIS:i CSTCOFINS:i ALIQPIS:a"
                   " ALIQCOFINS:a QUOTAMENSAL:v VLRBCCREDITO:v CREDITOPIS:v CREDITOCOFINS:v",
                   "CODIGOEMPRESA CODIGOESTAB NUMEROBEM PERIODO"));
  Indice(ts.back(), "PER", "CODIGOEMPRESA CODIGOESTAB PERIODO");
  ts.push_back(Tab("PATBEMCONTACONTABIL",
                   "CODIGOEMPRESA:i CODIGOESTAB:i NUMEROBEM:i DATAINICIAL:d CODIGOCENTROCUSTO:t20 CONTACTB:t60",
                   "CODIGOEMPRESA CODIGOESTAB NUMEROBEM DATAINICIAL"));
  ts.push_back(Tab("PATTABELACTBLCTO",
                   "SEQ:i NATUREZA:i! REGRA:t20! CONTACTB:t60 CONTACTBLCTO:t60", "SEQ"));
}

// Contribuição previdenciária sobre a receita (bloco P) e receita do INSS.
void ContribuicaoPatronal(std::vector<TTabelaSchema>& ts) {
  const char* valores = " VALORTOTAL1:v VALORTOTAL2:v VALORTOTAL3:v VALORTOTAL4:v";
  ts.push_back(Tab("TOTALCONTPATRONALDET",
                   std::string("CODIGOEMPRESA:i CODIGOESTAB:i DATATOTAL:d SEQ:i CODIGOOPERACAOFIS:i!"
                               " CODIGOCFOP:i CODIGONCM:t8 CONTACTBEFD:t20") + valores,
                   "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ", "DATATOTAL"));
  ts.push_back(Tab("TOTALCONTPATRONALOBRADET",
                   std::string("CODIGOEMPRESA:i CODIGOESTAB:i DATATOTAL:d SEQ:i CODIGOOPERACAOFIS:i!"
                               " CODIGOCFOP:i CODIGONCM:t8 CNO:t14") + valores,
                   "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ", "DATATOTAL"));
  ts.push_back(Tab("TOTALCONTPATRONALSALDO",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATATOTAL:d CODIGOOPERACAOFIS:i CODIGONCM:t8"
                   " VALORSALDO:v VALORCOMPENSADO:v",
                   "CODIGOEMPRESA CODIGOESTAB DATATOTAL CODIGOOPERACAOFIS CODIGONCM", "DATATOTAL"));
  ts.push_back(Tab("CFOPIMPOSTOCONTPATRONAL",
                   "CODIGOEMPRESA:i CODIGOESTAB:i CODIGOCFOP:i CODIGOIMPOSTO:i! VARIACAOIMPOSTO:i!",
                   "CODIGOEMPRESA CODIGOESTAB CODIGOCFOP"));
  ts.push_back(Tab("CONTPATRONALAJUSTE",
                   "CODIGOEMPRESA:i CODIGOESTAB:i DATALCTOFIS:d SEQ:i CODIGOOPERACAOFIS:i INDAJUSTE:t1!"
                   " VLRAJUSTE:v CODIGOAJUSTE:t20 DATAREFERENCIA:d NUMPROCESSO:t60 DESCAJUSTE:t255",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ", "DATALCTOFIS"));
  ts.push_back(Tab("INSSRECEITA",
                   "CODIGOEMPRESA:i CODIGOESTAB:i COMPETENCIA:d SEQ:i VALORRECEITA:v VALOREXCLUSAO:v",
                   "CODIGOEMPRESA CODIGOESTAB COMPETENCIA SEQ", "COMPETENCIA"));
}

}  // namespace

std::vector<TTabelaSchema> TabelasFiscais() {
  std::vector<TTabelaSchema> ts;
  Cadastros(ts);
  Lancamentos(ts);
  Duplicatas(ts);
  TotaisEFD(ts);
  TotaisRegimes(ts);
  Saldos(ts);
  Ajustes(ts);
  Imobiliaria(ts);
  Patrimonio(ts);
  ContribuicaoPatronal(ts);
  return ts;
}
